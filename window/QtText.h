#pragma once
// Text between the calculation's UTF-8 strings and Qt's strings.

#include <QString>
#include <string>

namespace tallyroll {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
inline QString Q(const char* s) {
    return QString::fromUtf8(s);
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

}  // namespace tallyroll
