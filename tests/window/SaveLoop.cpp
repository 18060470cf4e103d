// Not a test itself: saves a full tape to one file over and over with the
// program's own saving code, alternating two tapes, and writes "saved" after
// each save. SaveKilledTest kills it in the middle of a save.
#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "tape/TapeFile.h"
#include "tape/TapeList.h"
#include "window/commands/TapeFiles.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    QByteArray tapes[2];
    for (int t = 0; t < 2; ++t) {
        const std::vector<std::string> lines(tallyroll::TapeList::kMaxLines,
                                             t == 0 ? "+ 1234567.00" : "x 7654321.00");
        const std::string bytes = tallyroll::WriteTapeFile(lines);
        tapes[t] = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    for (unsigned n = 0;; ++n) {
        if (const auto why = tallyroll::WriteFileAtomically(path, tapes[n % 2]); !why.empty()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            return 1;
        }
        std::printf("saved\n");
        std::fflush(stdout);
    }
}
