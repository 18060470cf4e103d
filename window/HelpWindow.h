#pragma once
// The help window (F1): the keyboard map, how the tape works, and what the
// program is. It does not block the calculator; Escape closes it and hands
// the focus back to the calculator.

#include <QWidget>

namespace tallyroll {

class FrmCalculator;

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(FrmCalculator& calculator);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    FrmCalculator& calculator_;
};

// The keyboard map of `window` and the rest of the help, as rich text.
QString HelpText(const FrmCalculator& window);

// Binds F1 to the help window of `window` (one per calculator window).
void InstallHelpCommand(FrmCalculator& window);

}  // namespace tallyroll
