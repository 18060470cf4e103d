#include "demo/CommandLine.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace tallyroll {

namespace {

struct OptionRow {
    const char* names;        // "name", or "n,name" with a short name
    const char* valueName;    // null for an option without a value
    const char* description;  // null for Qt's own options: accepted, not listed
};

// Every option besides --help and --version. A new option of the program is
// one row here; main reads it with isSet() or value().
constexpr OptionRow kOptions[] = {
    {"calculator", nullptr, "Starts with the calculator alone; the program ends when it closes."},
    // Qt's own options, read again by QApplication.
    {"platform", "name", nullptr},
    {"platformpluginpath", "path", nullptr},
    {"platformtheme", "name", nullptr},
    {"plugin", "name", nullptr},
    {"display", "name", nullptr},
    {"qwindowgeometry", "geometry", nullptr},
    {"geometry", "geometry", nullptr},
    {"qwindowicon", "icon", nullptr},
    {"qwindowtitle", "title", nullptr},
    {"title", "title", nullptr},
    {"style", "style", nullptr},
    {"stylesheet", "file", nullptr},
    {"session", "id", nullptr},
    {"reverse", nullptr, nullptr},
    {"widgetcount", nullptr, nullptr},
    {"nograb", nullptr, nullptr},
    {"dograb", nullptr, nullptr},
    {"sync", nullptr, nullptr},
};

struct ArgumentRow {
    const char* name;
    const char* description;
    const char* syntax;  // as the usage line shows it, e.g. "[file]"
};

// The arguments after the options, in order; a new one is one row here.
constexpr std::initializer_list<ArgumentRow> kArguments = {
    {"file", "A tape file (.tape) the calculator opens with at once.", "[file]"},
};

QString Usage(const QCommandLineParser& parser) {
    // Without a QApplication the parser does not know the program's name.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QCoreApplication::applicationName());
}

}  // namespace

CommandLine::CommandLine(const QStringList& arguments) {
    // Qt's options are written with one dash (-platform offscreen).
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.setApplicationDescription(
        QStringLiteral(
            "An adding machine with a paper tape. Without a display, %1 runs it on a private "
            "VNC server.")
            .arg(QLatin1String(kHeadlessCommand)));
    const QCommandLineOption help = parser_.addHelpOption();
    const QCommandLineOption version = parser_.addVersionOption();
    for (const OptionRow& row : kOptions) {
        QCommandLineOption option(QString::fromLatin1(row.names).split(u','),
                                  QString::fromLatin1(row.description ? row.description : ""),
                                  QString::fromLatin1(row.valueName ? row.valueName : ""));
        if (!row.description) option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
    for (const ArgumentRow& row : kArguments) {
        parser_.addPositionalArgument(QString::fromLatin1(row.name),
                                      QString::fromLatin1(row.description),
                                      QString::fromLatin1(row.syntax));
    }

    const auto fail = [this](const QString& error) {
        output_ = QCoreApplication::applicationName() + QStringLiteral(": ") + error +
                  QStringLiteral("\n\n") + Usage(parser_);
        exitStatus_ = 2;
    };
    if (!parser_.parse(arguments)) {
        fail(parser_.errorText());
    } else if (parser_.isSet(help) || parser_.isSet(QStringLiteral("help-all"))) {
        output_ = Usage(parser_);
        exitStatus_ = 0;
    } else if (parser_.isSet(version)) {
        output_ = QCoreApplication::applicationName() + u' ' +
                  QCoreApplication::applicationVersion() + u'\n';
        exitStatus_ = 0;
    } else if (parser_.positionalArguments().size() > static_cast<qsizetype>(kArguments.size())) {
        fail(QStringLiteral("Unexpected argument '%1'.")
                 .arg(parser_.positionalArguments().at(static_cast<qsizetype>(kArguments.size()))));
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
