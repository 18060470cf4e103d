#pragma once
// The title window: a borderless picture with a close button "X", shown
// modally with no owner while the calculator loads on every fifth day.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace tallyroll {

class Form1 : public QDialog {
  public:
    // `unloaded` is told when the window is unloaded, so its owner can
    // release the shared instance.
    explicit Form1(std::function<void(Form1&)> unloaded);

    // Shows the window modally, centred on the screen; returns once it is
    // unloaded.
    void showModal();

    void Command1_Click();

    QPushButton& Command1() { return *command1_; }
    QPushButton& Command2() { return *command2_; }
    QLabel& Image1() { return *image1_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Form_Load();

    std::function<void(Form1&)> unloaded_;
    QPushButton* command2_;
    QLabel* image1_;
    QPushButton* command1_;
};

}  // namespace tallyroll
