#include "window/ErrorReportText.h"

namespace tallyroll {

std::string ErrorReportText(const ErrorReport& r) {
    std::string text = "Error occured: " + r.number + "\r\n";
    if (!r.description.empty()) text += "Description: " + r.description + "\r\n";
    if (!r.module.empty()) text += "Module: " + r.module + "\r\n";
    if (!r.function.empty()) text += "Function: " + r.function;
    return text;
}

void ShowErrorReport(CalculatorView& view, const ErrorReport& report) {
    if (report.show) view.messageBox(kErrorTitle, ErrorReportText(report), MessageIcon::Critical);
}

}  // namespace tallyroll
