#pragma once
// The program's command line, read before any window system is opened, so
// that --help and --version work without a display; and the start of the
// window system itself, which ends the program with one clear line instead of
// Qt's abort when there is no display.

#include <QCommandLineParser>
#include <QStringList>
#include <memory>
#include <optional>
#include <span>

class QApplication;

namespace tallyroll {

// The command used on a machine without a display; installed beside the program.
inline constexpr char kHeadlessCommand[] = "tallyroll-vnc";

enum class OptionKind {
    Program,   // listed by --help
    Internal,  // for the program's own commands; listed by --help-all
    Qt,        // Qt's own, accepted and left for QApplication; listed by --help-all
};

struct OptionRow {
    const char* names;        // "name", or "n,name" with a short name
    const char* valueName;    // null for an option without a value
    const char* description;  // a sentence
    OptionKind kind;
};

struct ArgumentRow {
    const char* name;
    const char* description;
    const char* syntax;  // as the usage line shows it, e.g. "[file]"
};

// Every option and argument, in the order the help lists them.
std::span<const OptionRow> ProgramOptions();
std::span<const ArgumentRow> ProgramArguments();

class CommandLine {
  public:
    // `arguments` starts with the program's name. Qt's own options
    // (-platform, -style, ...) are accepted and left for QApplication.
    explicit CommandLine(const QStringList& arguments);

    // The status to end the program with at once, after Finish(): set for
    // --help, --help-all, --version, --check-arguments and a wrong command
    // line; empty when the program runs.
    std::optional<int> exitStatus() const { return exitStatus_; }
    // Writes the help or the version on stdout, or the error and the usage on
    // stderr, and returns exitStatus().
    int Finish() const;

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList positionalArguments() const { return parser_.positionalArguments(); }
    // Qt's -platform option, or empty.
    QString platform() const;

  private:
    QCommandLineParser parser_;
    std::optional<int> exitStatus_;
    QString output_;
};

// The program's arguments as text (in the locale's encoding).
QStringList ArgumentsOf(int argc, char** argv);

// Opens the window system and returns the application. When no display is
// set (and no platform chosen) or the platform cannot be opened, it writes one
// line on stderr that names kHeadlessCommand and ends the program with status
// 1. `argc` and `argv` must outlive the application.
std::unique_ptr<QApplication> OpenApplication(const CommandLine& commandLine, int& argc,
                                              char** argv);

}  // namespace tallyroll
