#pragma once
// The host window "Demo": one value and a "Calculator" button that opens a
// fresh calculator with that value and takes back the result it saved.

#include <QWidget>

class QLabel;
class QPushButton;

namespace tallyroll {

class Forms;

class frmDemo : public QWidget {
  public:
    explicit frmDemo(Forms& forms);

    void cmdCalc_Click();

    QLabel& lblValue() { return *lblValue_; }
    QPushButton& cmdCalc() { return *cmdCalc_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Unload();

    Forms& forms_;
    QLabel* lblValue_;
    QPushButton* cmdCalc_;
};

}  // namespace tallyroll
