#pragma once
// The few JSON texts the script driver and the recording printer write.

#include <string>
#include <string_view>

namespace tallyroll::json {

std::string Quote(std::string_view text);  // a JSON string, UTF-8 kept as is
std::string Number(double v);              // shortest round trip; "inf", "-inf", "nan" as strings
inline std::string Bool(bool b) {
    return b ? "true" : "false";
}

}  // namespace tallyroll::json
