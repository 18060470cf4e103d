#pragma once
// The calculator window's side of CalculatorView: the engine's captions,
// change panel, focus, boxes and tape notices applied to the live widgets.

#include "engine/Calculator.h"
#include "window/CalculatorHooks.h"
#include "window/TapeModel.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tallyroll {

class Announcer;
class TapeListView;

// The controls the calculation reaches.
struct ViewControls {
    QLabel* lblResult = nullptr;
    QLabel* lblOperator = nullptr;
    QLabel* lblGrandTotal = nullptr;
    QLabel* lblMemory = nullptr;
    QLabel* lblValue = nullptr;
    QComboBox* cboDecPlace = nullptr;
    QWidget* fraChangeTape = nullptr;
    QLabel* lblChangeFrom = nullptr;
    QLineEdit* txtChangeTo = nullptr;
    QComboBox* cboType = nullptr;
    QWidget* picSetFocus = nullptr;
    TapeListView* lstTape = nullptr;
};

class QtView : public CalculatorView {
  public:
    QtView(QWidget& window, const ViewControls& controls, TapeModel& model,
           const CalculatorHooks& hooks);

    // Mirrors a selection the user makes on the list back into the tape.
    void attach(Calculator& calc);

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
    void tapeAboutToRemoveFirst() override { model_.aboutToRemoveFirst(); }
    void tapeRemovedFirst() override;
    void tapeAboutToClear() override { model_.aboutToClear(); }
    void tapeCleared() override;
    void tapeAboutToReset() override { model_.aboutToClear(); }
    void tapeReset() override { tapeCleared(); }
    void tapeLinesChanged(int first, int last) override { model_.linesChanged(first, last); }
    void tapeSelectionChanged(int row) override;

  private:
    QWidget& window_;
    ViewControls c_;
    TapeModel& model_;
    const CalculatorHooks& hooks_;
    Announcer* announcer_;  // a child of the focus holder
    bool syncingSelection_ = false;
    bool trimming_ = false;  // a line went onto a full tape; the oldest goes next
    bool busy_ = false;
};

}  // namespace tallyroll
