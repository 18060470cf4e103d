#pragma once
// The one narrow way the calculation reaches its window: label captions, the
// memory indicator, the change panel's controls, focus, message boxes, the
// error report, and the platform services a print run needs. The Qt window
// implements it; so does the headless stand-in used by tests and tools. The
// tape's lines are not here: the view observes the engine's TapeList.

#include <memory>
#include <optional>
#include <string>

#include "tape/TapeList.h"

namespace tallyroll {

class Printer;

enum class Label { Result, Operator, GrandTotal };
enum class MessageIcon { Warning, Critical, Information };
enum class FocusTarget { PicSetFocus, ChangeTo };

// The arguments of one error report, as the error report lays them out.
struct ErrorReport {
    bool show = true;
    std::string number;
    std::string description;
    std::string module;
    std::string function;
};

struct LocalDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

class CalculatorView : public TapeObserver {
  public:
    // Labels and indicator.
    virtual void setCaption(Label label, const std::string& text) = 0;
    virtual void setMemoryVisible(bool visible) = 0;
    // Selects an entry of the decimal-places list without running its handler.
    virtual void setDecimalSelection(int index) = 0;

    // The change panel.
    virtual void setChangePanelVisible(bool visible) = 0;  // showing also brings it to the front
    virtual void setChangeFrom(const std::string& text) = 0;
    virtual void setChangeTo(const std::string& text) = 0;  // and selects all of it
    virtual void setChangeType(const std::string& text) = 0;
    virtual std::string changeTo() const = 0;
    virtual std::string changeType() const = 0;

    virtual void setFocus(FocusTarget target) = 0;

    // Modal boxes. The title of a plain message is the application's title.
    virtual void messageBox(const std::string& title, const std::string& text,
                            MessageIcon icon) = 0;
    virtual void reportError(const ErrorReport& report) = 0;
    // Input box: the answer, or nothing when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;

    // Leaving the window.
    virtual void hideWindow() = 0;  // ends the host's modal show
    virtual void endProgram() = 0;  // everything ends at once; no unload handlers run

    // Services of a print run.
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    virtual void processEvents() = 0;
    virtual void beep() = 0;
    virtual LocalDateTime now() const = 0;
    // The system's default printer, or nothing when there is none.
    virtual std::unique_ptr<Printer> defaultPrinter() = 0;
};

}  // namespace tallyroll
