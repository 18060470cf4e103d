#pragma once
// The calculator window's side of CalculatorView: the engine's captions,
// change panel, focus, boxes and tape notices applied to the live widgets.

#include <functional>

#include "engine/Calculator.h"
#include "window/CalculatorHooks.h"
#include "window/form/FormControls.h"
#include "window/tapeview/TapeModel.h"

namespace tallyroll {

class Announcer;

class QtView : public CalculatorView {
  public:
    QtView(QWidget& window, const ViewControls& controls, TapeModel& model,
           const CalculatorHooks& hooks);

    // Mirrors a selection the user makes on the list back into the tape.
    void attach(Calculator& calc);
    // Called when the grand total label has changed.
    void setGrandTotalListener(std::function<void()> listener) {
        grandTotalListener_ = std::move(listener);
    }
    // Called once the event under way (a key, a click) has been handled,
    // before the window repaints, when settleLater() was asked during it.
    void setSettledListener(std::function<void()> listener) {
        settledListener_ = std::move(listener);
    }
    void settleLater();

    // Held while the window handles an event (a key, a click, a command):
    // what settleLater() asked for is done when the last one is released,
    // before anything is painted, with no event posted for it.
    class Handling {
      public:
        explicit Handling(QtView& view) : view_(view) { ++view_.handling_; }
        ~Handling() {
            if (--view_.handling_ == 0 && view_.settleWanted_) view_.Settle();
        }
        Handling(const Handling&) = delete;
        Handling& operator=(const Handling&) = delete;

      private:
        QtView& view_;
    };

    void setCaption(Label label, const std::string& text) override;
    void setMemoryVisible(bool visible) override;
    void setDecimalSelection(int index) override;
    void setChangePanelVisible(bool visible) override;
    void setChangeFrom(const std::string& text) override;
    void setChangeTo(const std::string& text) override;
    void setChangeType(const std::string& text) override;
    std::string changeTo() const override;
    std::string changeType() const override;
    void setFocus(FocusTarget target) override;
    void messageBox(const std::string& title, const std::string& text, MessageIcon icon) override;
    void reportError(const ErrorReport& report) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    void hideWindow() override;
    void endProgram() override;
    void setWindowEnabled(bool enabled) override;
    void setBusyPointer(bool busy) override;
    void processEvents() override;
    void beep() override;
    LocalDateTime now() const override;
    std::unique_ptr<Printer> defaultPrinter() override;

    // Something for a screen reader to hear after the event at hand.
    void tell(std::string text);

    void tapeAboutToAppend(int row) override;
    void tapeAppended() override;
    void tapeAboutToRemoveFirst() override { Quietly(&TapeModel::aboutToRemoveFirst); }
    void tapeRemovedFirst() override { Quietly(&TapeModel::removedFirst); }
    void tapeAboutToClear() override { Quietly(&TapeModel::aboutToClear); }
    void tapeCleared() override;
    void tapeAboutToReset() override { Quietly(&TapeModel::aboutToClear); }
    void tapeReset() override { tapeCleared(); }
    void tapeLinesChanged(int first, int last) override { model_.linesChanged(first, last); }
    void tapeSelectionChanged(int row) override;

  private:
    // Tells the model of a change; what the list's selection does meanwhile
    // is not the user's choice.
    void Quietly(void (TapeModel::*notice)());
    void Settle();
    void ShowSelection(int row);

    QWidget& window_;
    ViewControls c_;
    TapeModel& model_;
    const CalculatorHooks& hooks_;
    Announcer* announcer_;  // a child of the focus holder
    bool syncingSelection_ = false;
    // Lines went onto the tape during the event under way: the scroll bar
    // waits, and the list shows their selection once, at its end.
    bool holdingBar_ = false;
    bool selectionPending_ = false;
    bool justAppended_ = false;  // the next selection is that of the line just added
    const Calculator* calc_ = nullptr;
    bool settlePosted_ = false, settleWanted_ = false;
    int handling_ = 0;
    std::function<void()> settledListener_;
    bool busy_ = false;
    std::function<void()> grandTotalListener_;
};

}  // namespace tallyroll
