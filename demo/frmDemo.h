#pragma once
// The host window "Demo": one value and a "Calculator" button that opens a
// fresh calculator with that value and takes back the result it saved.

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tallyroll {

class Forms;

class frmDemo : public QWidget {
  public:
    explicit frmDemo(Forms& forms);

    void cmdCalc_Click();
    // Opens the calculator as the button does, with the tape read from the
    // tape file at `path` (refused with a message when it is not one).
    void OpenCalculatorWithTape(const QString& path);

    QLabel& lblValue() { return *lblValue_; }
    QPushButton& cmdCalc() { return *cmdCalc_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Unload();

    Forms& forms_;
    QLabel* lblValue_;
    QPushButton* cmdCalc_;
    QString tapeToOpen_;  // for the next visit only
};

}  // namespace tallyroll
