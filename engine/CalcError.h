#pragma once
// An error a handler catches and passes to the error report.

#include <string>

namespace tallyroll {

struct CalcError {
    int number;
    std::string description;
};

inline const CalcError kInvalidArgument{5, "Invalid procedure call or argument"};
inline const CalcError kOverflow{6, "Overflow"};
inline const CalcError kDivisionByZero{11, "Division by zero"};

}  // namespace tallyroll
