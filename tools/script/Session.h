#pragma once
// Sets up the backend the driver runs against and runs the script on it.

#include <iosfwd>

#include "tools/script/Driver.h"

namespace tallyroll {

int RunSession(int argc, char** argv, const DriverOptions& options, std::istream& script,
               std::ostream& out);

// The local date and time the driver uses when --now is not given.
LocalDateTime SystemNow();

}  // namespace tallyroll
