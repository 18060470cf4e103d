#pragma once
// The windows of the program, each reached through one shared instance:
// asking for a window creates it when there is none, and its unload releases
// it, so the next request starts from the window definition again. main and
// the script driver each own one Forms; nothing here is global.

#include <memory>

#include "window/FrmCalculator.h"

namespace tallyroll {

class Form1;
class frmDemo;

class Forms {
  public:
    // `hooks` are handed to every calculator window. Their showTitle is
    // replaced by the shared title window; their endProgram runs after every
    // window is gone (by default the event loop is left).
    explicit Forms(CalculatorHooks hooks = {});
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    frmDemo& demo();
    Form1& title();
    FrmCalculator& calculator();

    // The loaded instances, or null; looking never creates a window.
    frmDemo* loadedDemo() const { return demo_.get(); }
    Form1* loadedTitle() const { return title_.get(); }
    // A calculator counts as released as soon as it has unloaded.
    FrmCalculator* loadedCalculator() const {
        return calculator_ && !calculator_->isUnloaded() ? calculator_.get() : nullptr;
    }

    // The host window's unload releases it.
    void DemoUnloaded(const frmDemo& window);

    // Shows the title window modally with no owner; returns once it unloads.
    void ShowTitle();

    // "E&xit": every window disappears at once, no unload handler runs, and
    // a host waiting for the calculator never resumes its work.
    void EndProgram();
    bool ended() const { return ended_; }

  private:
    // Lets go of a window that unloaded; it is deleted once its own event
    // handling has returned.
    template <typename Window>
    void Release(std::unique_ptr<Window>& slot, const QObject* window);

    CalculatorHooks hooks_;
    std::unique_ptr<frmDemo> demo_;
    std::unique_ptr<Form1> title_;
    std::unique_ptr<FrmCalculator> calculator_;
    bool ended_ = false;
};

}  // namespace tallyroll
