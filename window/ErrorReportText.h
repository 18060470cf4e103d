#pragma once
// The layout of the one error message of the calculator window.

#include <string>

#include "engine/CalculatorView.h"

namespace tallyroll {

inline constexpr const char* kErrorTitle = "Calculator - ERROR";

// "Error occured: " number, then a line each for description, module and
// function, each left out when empty; CR LF between lines, none at the end.
std::string ErrorReportText(const ErrorReport& report);

// What a view does with a report: the message box when the report is to be shown.
void ShowErrorReport(CalculatorView& view, const ErrorReport& report);

}  // namespace tallyroll
