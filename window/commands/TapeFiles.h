#pragma once
// Keeping a tape: saving it as a tape file, opening one again, and exporting
// it as CSV or as a PDF of the printed tape. Every file is written whole or
// not at all (a temporary beside it, then a rename), so a failure leaves an
// old file as it was; each failure is shown in a message naming the file.

#include <QByteArray>
#include <QString>
#include <string>

namespace tallyroll {

class CommandHost;

// Writes `bytes` to `path` atomically: "" or the reason it failed.
std::string WriteFileAtomically(const QString& path, const QByteArray& bytes);

// The commands of the tape's menu that work on files. Each asks for the file
// with a file dialog; nothing happens when it is cancelled.
void SaveTapeFile(CommandHost& window);
void OpenTapeFile(CommandHost& window);
void ExportTapeCsv(CommandHost& window);
void ExportTapePdf(CommandHost& window);

// Opens the tape file at `path`: refused with a message (nothing changes)
// unless the whole file is a good tape; when the tape is not empty and `ask`
// is set, only after the user says yes. True when the tape was replaced.
bool OpenTapeFileAt(CommandHost& window, const QString& path, bool ask);

// Opens the tape file at `path` (without asking) once the event loop next
// runs: a window about to be shown modally takes it when it is up.
void OpenTapeFileSoon(CommandHost& window, const QString& path);

}  // namespace tallyroll
