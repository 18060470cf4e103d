// tallyroll-manual: the lists of the documentation that follow the program's
// tables, so that they cannot drift from what the program does.
//   tallyroll-manual man TEMPLATE OUTPUT   the manual page: TEMPLATE with its
//                                          ".\" ==options==" and ".\" ==keys=="
//                                          lines replaced by the lists
//   tallyroll-manual readme                the keyboard tables of docs/using.md
#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>

#include "demo/CommandLine.h"
#include "window/FrmCalculator.h"
#include "window/commands/KeyGuide.h"
#include "window/commands/TapeJournal.h"

namespace tallyroll {
namespace {

// Text for a roff line: backslashes and minus signs escaped, non-ASCII
// dashes as roff's own, a leading dot or quote made plain.
QString Roff(QString text) {
    text.replace(u'\\', QLatin1String("\\e"));
    text.replace(u'-', QLatin1String("\\-"));
    text.replace(QChar(0x2013), QLatin1String("\\(en"));
    text.replace(QChar(0x2026), QLatin1String("..."));
    if (text.startsWith(u'.') || text.startsWith(u'\'')) text.prepend(QLatin1String("\\&"));
    return text;
}

QString Bold(const QString& text) {
    return QStringLiteral("\\fB") + Roff(text) + QStringLiteral("\\fR");
}

QString Italic(const QString& text) {
    return QStringLiteral("\\fI") + Roff(text) + QStringLiteral("\\fR");
}

QString RoffOption(const OptionRow& row) {
    QStringList names;
    // Qt's options are written with one dash, as Qt's own documentation does.
    for (const QString& name : QString::fromLatin1(row.names).split(u','))
        names << Bold((name.size() == 1 || row.kind == OptionKind::Qt ? QStringLiteral("-")
                                                                      : QStringLiteral("--")) +
                      name);
    QString tag = names.join(QStringLiteral(", "));
    if (row.valueName) tag += u' ' + Italic(QString::fromLatin1(row.valueName));
    return QStringLiteral(".TP\n") + tag + u'\n' + Roff(QString::fromUtf8(row.description)) + u'\n';
}

QString RoffOptions() {
    QString out;
    for (const OptionRow& row : ProgramOptions())
        if (row.kind != OptionKind::Qt) out += RoffOption(row);
    for (const ArgumentRow& row : ProgramArguments())
        out += QStringLiteral(".TP\n") + Italic(QString::fromLatin1(row.name).toUpper()) + u'\n' +
               Roff(QString::fromUtf8(row.description)) + u'\n';
    out += QStringLiteral(
        ".PP\n"
        "Qt's own options are accepted as well (with one dash or two), and listed by\n"
        "\\fB\\-\\-help\\-all\\fR:\n");
    for (const OptionRow& row : ProgramOptions())
        if (row.kind == OptionKind::Qt) out += RoffOption(row);
    return out;
}

QString RoffKeys(const std::vector<KeyGuideRow>& rows) {
    QString out = QStringLiteral("Letters work in either case.\n");
    bool typed = true;
    for (const KeyGuideRow& row : rows) {
        if (typed && !row.typed)
            out += QStringLiteral(".PP\nThe keys without a character of their own:\n");
        typed = row.typed;
        out += QStringLiteral(".TP\n") + KeysText(row, Bold) + u'\n' + Roff(row.does) + u'\n';
    }
    return out;
}

QString MarkdownKey(const QString& key) {
    QString text = key;
    text.replace(u'|', QLatin1String("\\|"));
    return IsCharacterKey(key) ? u'`' + text + u'`' : text;
}

QString MarkdownKeys(const std::vector<KeyGuideRow>& rows) {
    const QString head = QStringLiteral("| key | does |\n|---|---|\n");
    QString out = head;
    bool typed = true;
    for (const KeyGuideRow& row : rows) {
        if (typed && !row.typed)
            out += QStringLiteral(
                       "\nLetters work in either case. The keys without a character of their own "
                       "reach\nthe rest:\n\n") +
                   head;
        typed = row.typed;
        QString does = row.does;
        does.replace(u'|', QLatin1String("\\|"));
        out += QStringLiteral("| ") + KeysText(row, MarkdownKey) + QStringLiteral(" | ") + does +
               QStringLiteral(" |\n");
    }
    return out;
}

int WriteManual(const QString& templatePath, const QString& outputPath,
                const std::vector<KeyGuideRow>& keys) {
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "tallyroll-manual: cannot read %s\n", qPrintable(templatePath));
        return 1;
    }
    QString page = QString::fromUtf8(in.readAll());
    const QString options = QStringLiteral(".\\\" ==options==\n");
    const QString keyList = QStringLiteral(".\\\" ==keys==\n");
    if (!page.contains(options) || !page.contains(keyList)) {
        std::fprintf(stderr, "tallyroll-manual: %s lacks the option or the key marker\n",
                     qPrintable(templatePath));
        return 1;
    }
    page.replace(options, RoffOptions());
    page.replace(keyList, RoffKeys(keys));
    QFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(page.toUtf8()) < 0 ||
        !out.flush()) {
        std::fprintf(stderr, "tallyroll-manual: cannot write %s\n", qPrintable(outputPath));
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace tallyroll

int main(int argc, char** argv) {
    // The window is built to read its tables, never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;  // Qt wants a runtime directory of the user's own
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool man = args.size() == 3 && args[0] == QLatin1String("man");
    const bool readme = args.size() == 1 && args[0] == QLatin1String("readme");
    if (!man && !readme) {
        std::fprintf(stderr,
                     "usage: tallyroll-manual man TEMPLATE OUTPUT\n"
                     "       tallyroll-manual readme\n");
        return 2;
    }
    try {
        // A window as the program opens it, with kept tapes (writing none),
        // so that every command with a key is listed.
        tallyroll::CalculatorHooks hooks;
        hooks.journal = std::make_shared<tallyroll::JournalFolder>(QString(), false);
        tallyroll::FrmCalculator window(std::move(hooks));
        const std::vector<tallyroll::KeyGuideRow> keys = tallyroll::KeyGuide(window);
        if (man) return tallyroll::WriteManual(args[1], args[2], keys);
        std::fputs(tallyroll::MarkdownKeys(keys).toUtf8().constData(), stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tallyroll-manual: %s\n", e.what());
        return 1;
    }
}
