#pragma once
// Replays a script of commands against a backend and writes the dumps.

#include <array>
#include <functional>
#include <optional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tools/script/Backend.h"
#include "window/SessionLog.h"

namespace tallyroll {

struct DriverOptions {
    bool host = false;
    std::optional<LocalDateTime> now;  // the real clock when not given
    std::optional<std::array<int, 4>> workArea;
    double tppX = 15, tppY = 15;
    std::string printer = "record";  // record | none | fail
};

// Reads the options before the script; returns an error text or "".
std::string ParseDriverOptions(const std::vector<std::string>& args, DriverOptions& options);

// Runs every command of `script`, writing one JSON line per dump or controls.
void RunScript(ScriptBackend& backend, SessionLog& log, std::istream& script, std::ostream& out);

// One dump as the protocol lays it out; clears what was logged since the last.
std::string DumpJson(const Snapshot& s, SessionLog& log, std::vector<std::string>& errors);

}  // namespace tallyroll
