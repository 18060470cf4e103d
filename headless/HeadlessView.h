#pragma once
// A window without a screen: records what the calculation shows and answers
// its boxes from a SessionLog. Tests, fuzzers, benchmarks and the script
// driver use it; the engine cannot tell it from the Qt window.

#include <functional>
#include <memory>
#include <string>

#include "engine/CalculatorView.h"
#include "tape/Printer.h"
#include "window/SessionLog.h"

namespace tallyroll {

class HeadlessView : public CalculatorView {
  public:
    explicit HeadlessView(SessionLog* log = nullptr) : log_(log) {}

    // Captions as the labels would show them.
    std::string result, operatorText, grandTotal;
    bool memoryVisible = false;
    int decimalSelection = -1;

    // The change panel; the new-number box remembers whether all its text is
    // selected, so typing replaces it as in a real text box.
    bool panelVisible = false;
    std::string changeFrom, changeToText, changeTypeText = "cboType";
    bool changeToAllSelected = false;

    std::string focus = "picSetFocus";  // name of the control holding the focus
    bool hidden = false, ended = false, enabled = true, busy = false;
    int tapeNotices = 0;  // observer calls, for tests that count redraws
    std::function<std::unique_ptr<Printer>()> printerFactory;
    LocalDateTime clock;

    // Typing into the new-number box: replaces a full selection, else appends;
    // backspace removes the selection or the last character.
    void typeIntoChangeTo(const std::string& character);
    void backspaceInChangeTo();

    void setCaption(Label label, const std::string& text) override;
    void setMemoryVisible(bool visible) override { memoryVisible = visible; }
    void setDecimalSelection(int index) override { decimalSelection = index; }
    void setChangePanelVisible(bool visible) override { panelVisible = visible; }
    void setChangeFrom(const std::string& text) override { changeFrom = text; }
    void setChangeTo(const std::string& text) override;
    void setChangeType(const std::string& text) override { changeTypeText = text; }
    std::string changeTo() const override { return changeToText; }
    std::string changeType() const override { return changeTypeText; }
    void setFocus(FocusTarget target) override;
    void messageBox(const std::string& title, const std::string& text, MessageIcon icon) override;
    void reportError(const ErrorReport& report) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    void hideWindow() override { hidden = true; }
    void endProgram() override { ended = true; }
    void setWindowEnabled(bool on) override { enabled = on; }
    void setBusyPointer(bool on) override { busy = on; }
    void processEvents() override {}
    void beep() override;
    LocalDateTime now() const override { return clock; }
    std::unique_ptr<Printer> defaultPrinter() override;

    void tapeAppended() override { ++tapeNotices; }
    void tapeRemovedFirst() override { ++tapeNotices; }
    void tapeCleared() override { ++tapeNotices; }
    void tapeReset() override { ++tapeNotices; }
    void tapeLinesChanged(int, int) override { ++tapeNotices; }

  private:
    SessionLog* log_;
};

}  // namespace tallyroll
