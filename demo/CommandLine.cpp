#include "demo/CommandLine.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace tallyroll {

namespace {

// Every option of the program, Qt's own included. A new option is one row
// here; main reads it with isSet() or value(), and --help, --help-all and the
// manual page list it from here.
constexpr OptionRow kOptions[] = {
    {"h,help", nullptr, "Prints this help and exits.", OptionKind::Program},
    {"help-all", nullptr, "Prints this help with Qt's options as well and exits.",
     OptionKind::Program},
    {"v,version", nullptr, "Prints the version and exits.", OptionKind::Program},
    {"calculator", nullptr, "Starts with the calculator alone; the program ends when it closes.",
     OptionKind::Program},
    {"restore", nullptr, "Starts with the calculator on the newest kept tape.",
     OptionKind::Program},
    {"no-journal", nullptr,
     "Keeps no journal of the tape: nothing is written to the state folder, and the tape cannot "
     "be restored after the program ends.",
     OptionKind::Program},
    {"check-arguments", nullptr,
     "Checks the other arguments and exits: status 0 when they are good, 2 with the usage when "
     "not (tallyroll-vnc does so before it starts its X server).",
     OptionKind::Internal},
    // Qt's own options, read again by QApplication.
    {"platform", "name", "The platform plugin: xcb, wayland, offscreen, ...", OptionKind::Qt},
    {"platformpluginpath", "path", "Where to look for platform plugins.", OptionKind::Qt},
    {"platformtheme", "name", "The platform theme.", OptionKind::Qt},
    {"plugin", "name", "Loads an input plugin as well (evdevmouse, tuiotouch, ...).",
     OptionKind::Qt},
    {"display", "name", "The X display to open (as DISPLAY).", OptionKind::Qt},
    {"qwindowgeometry", "geometry", "The geometry of the first window, e.g. 400x300+10+10.",
     OptionKind::Qt},
    {"geometry", "geometry", "As -qwindowgeometry.", OptionKind::Qt},
    {"qwindowicon", "icon", "The default icon of the windows.", OptionKind::Qt},
    {"qwindowtitle", "title", "The title of the first window.", OptionKind::Qt},
    {"title", "title", "As -qwindowtitle.", OptionKind::Qt},
    {"style", "style", "The widget style: Fusion, Windows.", OptionKind::Qt},
    {"stylesheet", "file", "A style sheet for the windows.", OptionKind::Qt},
    {"session", "id", "Restores the desktop session of that id.", OptionKind::Qt},
    {"reverse", nullptr, "Lays the windows out right to left.", OptionKind::Qt},
    {"widgetcount", nullptr, "Prints at the end how many widgets were left.", OptionKind::Qt},
    {"nograb", nullptr, "Never grabs the mouse or the keyboard (X11).", OptionKind::Qt},
    {"dograb", nullptr, "Grabs the mouse and the keyboard even under a debugger (X11).",
     OptionKind::Qt},
    {"sync", nullptr, "Talks to the X server synchronously, for debugging (X11).", OptionKind::Qt},
};

// The arguments after the options, in order; a new one is one row here.
constexpr ArgumentRow kArguments[] = {
    {"file", "A tape file (.tape) the calculator opens with at once.", "[file]"},
};

// A parser with every option; those not of the program are hidden unless
// `all` (for --help-all).
void AddOptions(QCommandLineParser& parser, bool all) {
    // Qt's options are written with one dash (-platform offscreen).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral(
            "An adding machine with a paper tape. Without a display, %1 runs it on a private "
            "VNC server.")
            .arg(QLatin1String(kHeadlessCommand)));
    for (const OptionRow& row : kOptions) {
        QCommandLineOption option(QString::fromLatin1(row.names).split(u','),
                                  QString::fromUtf8(row.description),
                                  QString::fromLatin1(row.valueName ? row.valueName : ""));
        if (row.kind != OptionKind::Program && !all)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const ArgumentRow& row : kArguments) {
        parser.addPositionalArgument(QString::fromLatin1(row.name),
                                     QString::fromLatin1(row.description),
                                     QString::fromLatin1(row.syntax));
    }
}

QString Usage(const QCommandLineParser& parser) {
    // Without a QApplication the parser does not know the program's name.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QCoreApplication::applicationName());
}

}  // namespace

std::span<const OptionRow> ProgramOptions() {
    return kOptions;
}

std::span<const ArgumentRow> ProgramArguments() {
    return kArguments;
}

CommandLine::CommandLine(const QStringList& arguments) {
    AddOptions(parser_, false);
    const auto fail = [this](const QString& error) {
        output_ = QCoreApplication::applicationName() + QStringLiteral(": ") + error +
                  QStringLiteral("\n\n") + Usage(parser_);
        exitStatus_ = 2;
    };
    const auto wrongArguments = [this]() -> std::optional<QString> {
        const QStringList given = parser_.positionalArguments();
        const auto allowed = static_cast<qsizetype>(std::size(kArguments));
        if (given.size() > allowed)
            return QStringLiteral("Unexpected argument '%1'.").arg(given.at(allowed));
        if (parser_.isSet(QStringLiteral("restore")) && !given.isEmpty())
            return QStringLiteral("--restore and a tape file cannot be given together.");
        return std::nullopt;
    };
    if (!parser_.parse(arguments)) {
        fail(parser_.errorText());
    } else if (parser_.isSet(QStringLiteral("check-arguments"))) {
        // Nothing runs: only whether the program would start with these.
        if (const auto error = wrongArguments())
            fail(*error);
        else
            exitStatus_ = 0;
    } else if (parser_.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser all;
        AddOptions(all, true);
        output_ = Usage(all);
        exitStatus_ = 0;
    } else if (parser_.isSet(QStringLiteral("help"))) {
        output_ = Usage(parser_);
        exitStatus_ = 0;
    } else if (parser_.isSet(QStringLiteral("version"))) {
        output_ = QCoreApplication::applicationName() + u' ' +
                  QCoreApplication::applicationVersion() + u'\n';
        exitStatus_ = 0;
    } else if (const auto error = wrongArguments()) {
        fail(*error);
    }
}

int CommandLine::Finish() const {
    std::fputs(output_.toLocal8Bit().constData(), exitStatus_ == 0 ? stdout : stderr);
    return exitStatus_.value_or(0);
}

QString CommandLine::platform() const {
    return parser_.value(QStringLiteral("platform"));
}

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

namespace {

// Qt's messages while the application opens the window system, held back so
// that a platform that fails to open ends the program with one line.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};
std::vector<HeldMessage>* heldMessages = nullptr;

[[noreturn]] void ExitWithoutDisplay(const QString& reason) {
    std::fprintf(stderr, "%s: %s; %s runs it on a private VNC server.\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(reason),
                 kHeadlessCommand);
    std::fflush(stderr);
    std::_Exit(1);
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Qt gives up on the platform: say why in the words of its plugin.
        QString reason = QStringLiteral("cannot open the display");
        for (const HeldMessage& m : *heldMessages) {
            if (m.category.startsWith("qt.qpa")) {
                reason += QStringLiteral(" (") + m.text.trimmed() + u')';
                break;
            }
        }
        for (const HeldMessage& m : *heldMessages) {
            if (m.text.contains(QLatin1String("platform plugin \"wayland\""))) {
                reason += QStringLiteral("; Qt's Wayland plugin is in the package qt6-wayland");
                break;
            }
        }
        ExitWithoutDisplay(reason);
    }
    heldMessages->push_back(
        {type, context.file, context.function, context.category, context.line, text});
}

}  // namespace

std::unique_ptr<QApplication> OpenApplication(const CommandLine& commandLine, int& argc,
                                              char** argv) {
    const bool platformChosen =
        !commandLine.platform().isEmpty() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool displaySet = !commandLine.value(QStringLiteral("display")).isEmpty() ||
                            !qEnvironmentVariableIsEmpty("DISPLAY") ||
                            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!platformChosen && !displaySet) {
        ExitWithoutDisplay(
            QStringLiteral("no display to show the window on (DISPLAY and "
                           "WAYLAND_DISPLAY are not set)"));
    }

    std::vector<HeldMessage> held;
    heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    heldMessages = nullptr;
    // The window system is open: what Qt said meanwhile goes out as usual.
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(m.file.constData(), m.line, m.function.constData(),
                                         m.category.constData());
        previous(m.type, context, m.text);
    }
    return app;
}

}  // namespace tallyroll
