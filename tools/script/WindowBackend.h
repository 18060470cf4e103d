#pragma once
// The script driver's backend on the real calculator window: typed characters
// become key events sent to the widget with the keyboard focus, clicks become
// mouse events on the named control, and every dump is read from the live
// widgets.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "tools/script/Backend.h"
#include "tools/script/Driver.h"
#include "window/FrmCalculator.h"
#include "window/SessionLog.h"
#include "window/commands/TapeJournal.h"

namespace tallyroll {

// The windows of a scripted session. This one opens the calculator alone, as
// the demo host would (fresh window, start value 0, shown modally); a session
// with the host window derives from it and opens the host instead.
class SessionWindows {
  public:
    SessionWindows(SessionLog& log, const DriverOptions& options);
    virtual ~SessionWindows();
    SessionWindows(const SessionWindows&) = delete;
    SessionWindows& operator=(const SessionWindows&) = delete;

    // Opens the first window; runs inside the event loop and returns when the
    // window's modal show ends.
    virtual void open();
    // The calculator window while it is loaded, else null.
    virtual FrmCalculator* calculator() const { return calculator_; }
    // The window commands go to: the topmost modal window, else the calculator.
    virtual QWidget* activeWindow() const;
    virtual bool titleShown() const;
    virtual std::optional<Snapshot::Host> host() const { return std::nullopt; }
    bool ended() const { return ended_; }

    // Hooks for a calculator window of this session: scripted boxes, the
    // session's clock, work area, twips per pixel and printer.
    CalculatorHooks calculatorHooks();
    // A fresh calculator window, released when it unloads.
    FrmCalculator& createCalculator();
    // Shows the title window modally during the load (set by a host session).
    std::function<void()> showTitle;

  protected:
    // "E&xit": every window disappears; nothing runs their unload handlers.
    virtual void endProgram();

    SessionLog& log_;
    DriverOptions options_;
    QPointer<FrmCalculator> calculator_;
    bool ended_ = false;
    // The zoom level holds for the whole session, as for a run of the program.
    std::shared_ptr<int> zoomLevel_ = std::make_shared<int>(0);
    // Tapes are kept as the program keeps them, in the state folder.
    std::shared_ptr<JournalFolder> journal_;
};

class WindowBackend : public ScriptBackend {
  public:
    WindowBackend(SessionWindows& windows, const DriverOptions& options);

    std::string typeCharacter(char32_t c) override;
    std::string typeKey(SpecialKey key) override;
    std::string typeChord(const KeyChord& chord) override;
    std::string click(const std::string& name, std::optional<int> index) override;
    std::string choose(const std::string& name, int entry) override;
    std::string select(int line) override;
    std::string dblclick(int line) override;
    std::string start(Currency value) override;
    std::string deposit(std::int32_t value) override;
    std::string close() override;
    std::string rclick(int line) override;
    std::string menu(const std::string& text) override;
    std::string setClipboard(const std::string& text) override;
    Snapshot snapshot() override;
    std::string controls(std::string& json) override;
    bool ended() const override { return windows_.ended(); }

  private:
    // A visible, enabled control of the active window, or the reason there is none.
    std::string find(const std::string& name, std::optional<int> index, QWidget*& out) const;
    // The tape list's viewport and the middle of line, scrolled into view.
    std::string tapeLine(int line, QWidget*& viewport, QPoint& at);
    void sendKey(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    SessionWindows& windows_;
    double tppX_, tppY_;
};

}  // namespace tallyroll
