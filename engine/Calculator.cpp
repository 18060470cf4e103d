#include "engine/Calculator.h"

namespace tallyroll {

Calculator::Calculator(CalculatorView& view) : view_(view) {
    lstTape_.setObserver(&view_);
}

Calculator::~Calculator() {
    lstTape_.setObserver(nullptr);
}

void Calculator::ShowResult(std::string text) {
    cap_.lblResult = std::move(text);
    view_.setCaption(Label::Result, cap_.lblResult);
}

void Calculator::ShowOperator(std::string text) {
    cap_.lblOperator = std::move(text);
    view_.setCaption(Label::Operator, cap_.lblOperator);
}

void Calculator::ShowGrandTotal(std::string text) {
    cap_.lblGrandTotal = std::move(text);
    view_.setCaption(Label::GrandTotal, cap_.lblGrandTotal);
}

void Calculator::ShowMemory(bool visible) {
    cap_.lblMemoryVisible = visible;
    view_.setMemoryVisible(visible);
}

void Calculator::ParkFocus() {
    view_.setFocus(FocusTarget::PicSetFocus);
}

void Calculator::AddToTape(std::string text) {
    tallyroll::AddToTape(lstTape_, std::move(text));
}

void Calculator::SetStartValue(Currency value) {
    if (value > 0) {
        st_.dblEntry = CurrencyToDouble(value);
        ShowResult(Formatted(st_.dblEntry));
        st_.bDecimalEntered = true;
        st_.bytNumberCount = 1;
    } else {
        ShowResult(".");
        st_.dblEntry = 0;
        st_.bDecimalEntered = false;
        st_.bytNumberCount = 0;
    }
    st_.dblTotal = st_.dblOperand = st_.dblLastOperand = 0;
    st_.strLastInput = "NUM";
    st_.strOperator = "+";
}

void Calculator::DepositNumber(std::int32_t value) {
    st_.lngDepositNumber = value;
}

void Calculator::cboDecPlace_Click(int index) {
    if (index >= 0 && index <= 6) {
        decimalPlaces_ = index;
        st_.strFormat = PatternFor(index);
    }
    ParkFocus();
}

void Calculator::Form_Activate() {
    // A value beyond the currency range starts the calculation empty.
    const ReadResult start = ReadNumber(cap_.lblValue);
    SetStartValue(start.overflow ? 0 : CurrencyFromDouble(start.value).value_or(0));
    if (cap_.cmdSaveTag == "OK") cap_.lblValue = FormatGeneral(ReadNumber(cap_.lblResult).value);
    view_.setDecimalSelection(2);
    cboDecPlace_Click(2);
}

void Calculator::cmdSave_Click() {
    cap_.cmdSaveTag = "OK";
    view_.hideWindow();
}

void Calculator::cmdClose_Click() {
    cmdCancel_Click();
    view_.endProgram();
}

void Calculator::ReportError(bool show, const std::string& number, const std::string& description,
                             const std::string& module, const std::string& function) {
    if (!show) return;
    view_.reportError({show, number, description, module, function});
}

}  // namespace tallyroll
