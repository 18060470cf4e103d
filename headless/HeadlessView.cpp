#include "headless/HeadlessView.h"

#include "window/ErrorReportText.h"

namespace tallyroll {

void HeadlessView::setCaption(Label label, const std::string& text) {
    switch (label) {
        case Label::Result:
            result = text;
            break;
        case Label::Operator:
            operatorText = text;
            break;
        case Label::GrandTotal:
            grandTotal = text;
            break;
    }
}

void HeadlessView::setChangeTo(const std::string& text) {
    changeToText = text;
    changeToAllSelected = true;
}

void HeadlessView::typeIntoChangeTo(const std::string& character) {
    if (changeToAllSelected) changeToText.clear();
    changeToAllSelected = false;
    changeToText += character;
}

void HeadlessView::backspaceInChangeTo() {
    if (changeToAllSelected) {
        changeToText.clear();
    } else if (!changeToText.empty()) {
        // Remove one whole UTF-8 character.
        std::size_t at = changeToText.size() - 1;
        while (at > 0 && (static_cast<unsigned char>(changeToText[at]) & 0xC0) == 0x80) --at;
        changeToText.erase(at);
    }
    changeToAllSelected = false;
}

void HeadlessView::setFocus(FocusTarget target) {
    focus = target == FocusTarget::ChangeTo ? "txtChangeTo" : "picSetFocus";
}

void HeadlessView::messageBox(const std::string& title, const std::string& text, MessageIcon icon) {
    if (log_) log_->messages.push_back({title, text, icon});
}

void HeadlessView::reportError(const ErrorReport& report) {
    ShowErrorReport(*this, report);
}

std::optional<std::string> HeadlessView::inputBox(const std::string& prompt,
                                                  const std::string& title, const std::string&) {
    if (!log_) return std::nullopt;
    return log_->answerInput(title, prompt);
}

void HeadlessView::beep() {
    if (log_) ++log_->beeps;
}

std::unique_ptr<Printer> HeadlessView::defaultPrinter() {
    return printerFactory ? printerFactory() : nullptr;
}

}  // namespace tallyroll
