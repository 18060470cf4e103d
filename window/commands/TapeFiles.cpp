#include "window/commands/TapeFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <variant>

#include "engine/Calculator.h"
#include "tape/PrintLayout.h"
#include "tape/TapeFile.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"

namespace tallyroll {

namespace {

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Shown(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

void Warn(CommandHost& window, const std::string& text) {
    window.view().messageBox(kAppTitle, text, MessageIcon::Warning);
}

// The whole file, at most one byte past the size limit: "" or the reason.
std::string ReadLimited(const QString& path, QByteArray& out) {
    QFile file(path);
    if (QFileInfo(path).isDir()) return "it is a folder";
    if (!file.open(QIODevice::ReadOnly)) return file.errorString().toStdString();
    out = file.read(static_cast<qint64>(kMaxTapeFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) return file.errorString().toStdString();
    return "";
}

// Asks for a file name; empty when the dialog was cancelled.
QString AskFile(CommandHost& window, const char* title, FileMode mode, const char* filter,
                const char* suffix) {
    const auto path = window.hooks().dialogs->file(&window.widget(), title, mode, filter, suffix);
    return path ? QString::fromStdString(*path) : QString();
}

void ParkFocus(CommandHost& window) {
    window.view().setFocus(FocusTarget::PicSetFocus);
}

// A file the tape is written to whole: a tape file, or CSV.
struct TapeWriting {
    const char* title;
    const char* filter;
    const char* suffix;
    std::string (*write)(const std::vector<std::string>& lines);
    const char* failed;  // "The tape could not be <failed> to FILE: why"
};
constexpr TapeWriting kTapeFile{"Save tape", "Tape files (*.tape)", "tape", &WriteTapeFile,
                                "saved"};
constexpr TapeWriting kCsvFile{"Export CSV", "CSV files (*.csv)", "csv", &WriteTapeCsv, "exported"};

// Asks for the file and writes the tape to it, or says which file and why not.
void WriteTapeAs(CommandHost& window, const TapeWriting& how) {
    const QString path = AskFile(window, how.title, FileMode::Save, how.filter, how.suffix);
    ParkFocus(window);
    if (path.isEmpty()) return;
    const std::string bytes = how.write(window.calculator().tape().lines());
    if (auto why = WriteFileAtomically(path, Bytes(bytes)); !why.empty())
        Warn(window, std::string("The tape could not be ") + how.failed + " to " + Shown(path) +
                         ": " + why);
}

}  // namespace

std::string WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
    if (file.write(bytes) != bytes.size()) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString().toStdString();
    return "";
}

void SaveTapeFile(CommandHost& window) {
    WriteTapeAs(window, kTapeFile);
}

bool OpenTapeFileAt(CommandHost& window, const QString& path, bool ask) {
    ParkFocus(window);
    const std::string refused = "The tape could not be opened from " + Shown(path) + ": ";
    QByteArray bytes;
    if (auto why = ReadLimited(path, bytes); !why.empty()) {
        Warn(window, refused + why);
        return false;
    }
    auto read = ReadTapeFile(std::string_view(bytes.constData(), bytes.size()));
    if (const auto* error = std::get_if<TapeFileError>(&read)) {
        Warn(window, refused + Describe(*error));
        return false;
    }
    auto& lines = std::get<std::vector<std::string>>(read);
    if (ask && !window.calculator().tape().empty()) {
        const std::string question = "Replace the tape with the " + std::to_string(lines.size()) +
                                     (lines.size() == 1 ? " line of " : " lines of ") +
                                     QFileInfo(path).fileName().toStdString() + "?";
        if (!window.hooks().dialogs->question(&window.widget(), kAppTitle, question)) return false;
    }
    window.calculator().ReplaceTape(std::move(lines));
    return true;
}

void OpenTapeFileSoon(CommandHost& window, const QString& path) {
    // With the window as context, a window gone by then opens nothing.
    QTimer::singleShot(0, &window.widget(),
                       [&window, path] { OpenTapeFileAt(window, path, false); });
}

void OpenTapeFile(CommandHost& window) {
    const QString path =
        AskFile(window, "Open tape", FileMode::Open, "Tape files (*.tape);;All files (*)", "");
    ParkFocus(window);
    if (!path.isEmpty()) OpenTapeFileAt(window, path, true);
}

void ExportTapeCsv(CommandHost& window) {
    WriteTapeAs(window, kCsvFile);
}

void ExportTapePdf(CommandHost& window) {
    Calculator& calc = window.calculator();
    if (calc.tape().empty()) {  // nothing to print, as the print key does
        window.view().beep();
        return;
    }
    const QString path = AskFile(window, "Export PDF", FileMode::Save, "PDF files (*.pdf)", "pdf");
    ParkFocus(window);
    if (path.isEmpty()) return;
    const std::string failed = "The tape could not be exported to " + Shown(path) + ": ";

    // The printed layout goes to a PDF of its own first; the file is then
    // written whole, like every other.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        Warn(window, failed + scratch.errorString().toStdString());
        return;
    }
    const std::string pdf = scratch.filePath(QStringLiteral("tape.pdf")).toStdString();
    const auto& open = window.hooks().pdfPrinter;
    const Calculator::PrintRun run = calc.PrintTape(
        [&]() -> std::unique_ptr<Printer> {
            if (!open) throw PrintError("no PDF printer is available");
            return open(pdf);
        },
        Calculator::TitleCancel::Stops);
    ParkFocus(window);
    if (run.cancelled) return;  // Cancel in the title box: no file
    std::string why = run.failure;
    QByteArray bytes;
    if (why.empty()) {
        QFile file(QString::fromStdString(pdf));
        bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (bytes.isEmpty()) why = "the PDF printer wrote nothing";
    }
    if (why.empty()) why = WriteFileAtomically(path, bytes);
    if (!why.empty()) Warn(window, failed + why);
}

}  // namespace tallyroll
