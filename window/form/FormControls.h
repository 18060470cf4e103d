#pragma once
// The controls of the calculator window that the calculation reaches, typed,
// as the form builder finds them.

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace tallyroll {

class TapeListView;

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

}  // namespace tallyroll
