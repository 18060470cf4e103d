// The driver's session when no window is built: the headless stand-in.
#include <ctime>
#include <istream>

#include "tools/script/HeadlessBackend.h"
#include "tools/script/Session.h"

namespace tallyroll {

LocalDateTime SystemNow() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

int RunSession(int, char**, const DriverOptions& options, std::istream& script, std::ostream& out) {
    SessionLog log;
    HeadlessBackend backend(log, options.now.value_or(SystemNow()));
    RunScript(backend, log, script, out);
    return 0;
}

}  // namespace tallyroll
