#pragma once
// The help window (F1): the keyboard map, how the tape works, and what the
// program is. It does not block the calculator; Escape closes it and hands
// the focus back to the calculator.

#include <QWidget>

namespace tallyroll {

class CommandHost;

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(CommandHost& calculator);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    CommandHost& calculator_;
};

// The keyboard map of `window` and the rest of the help, as rich text.
QString HelpText(const QWidget& window);

// Binds F1 to the help window of `window` (one per calculator window).
void InstallHelpCommand(CommandHost& window);

}  // namespace tallyroll
