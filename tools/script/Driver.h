#pragma once
// Replays a script of commands against a backend and writes the dumps.

#include <array>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
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
    bool journal = true;             // --no-journal: the tape is not kept
    bool help = false;               // --help: the usage text, and nothing run
};

// The usage text: the options and every command word of a script.
std::string DriverUsage(const std::string& program);

// Reads the options before the script; returns an error text or "".
std::string ParseDriverOptions(const std::vector<std::string>& args, DriverOptions& options);

// Runs every command of `script`, writing one JSON line per dump or controls.
void RunScript(ScriptBackend& backend, SessionLog& log, std::istream& script, std::ostream& out);

// Runs a script one line at a time, so that an event loop can feed it: the
// commands after one that opens a modal window run while that window waits.
class ScriptRunner {
  public:
    ScriptRunner(ScriptBackend& backend, SessionLog& log, std::ostream& out)
        : backend_(backend), log_(log), out_(out) {}
    void run(std::string line);

  private:
    ScriptBackend& backend_;
    SessionLog& log_;
    std::ostream& out_;
    std::vector<std::string> errors_;  // reported in the next dump
};

// One dump as the protocol lays it out; clears what was logged since the last.
std::string DumpJson(const Snapshot& s, SessionLog& log, std::vector<std::string>& errors);

}  // namespace tallyroll
