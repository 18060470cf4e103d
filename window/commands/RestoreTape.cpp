#include "window/commands/RestoreTape.h"

#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "engine/Calculator.h"
#include "tape/TapeLine.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"
#include "window/commands/TapeJournal.h"

namespace tallyroll {

namespace {

constexpr CommandDef kRestore{"restoreTape", "&Restore last tape\u2026", "Ctrl+Shift+T",
                              "restore the last tape kept, after the program ended or crashed"};
constexpr const char* kTitle = "Restore last tape";

std::string When(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
}

std::string Lines(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " line" : " lines");
}

// The number of the last total or grand total line, "" when there is none.
std::string LastTotal(const std::vector<std::string>& lines) {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const LineKind kind = ClassifyLine(*it);
        if (kind != LineKind::Total && kind != LineKind::SubTotal && kind != LineKind::GrandTotal)
            continue;
        std::string number(FromChar(*it, 3));
        if (kind == LineKind::SubTotal) number.resize(number.size() - kSubTotalSuffix.size());
        return number;
    }
    return "";
}

void Tell(CommandHost& window, const std::string& text, MessageIcon icon) {
    window.view().messageBox(kAppTitle, text, icon);
}

// Restores once the window has been shown (and activated, which chooses the
// decimals again): what `tallyroll --restore` asks of the first window.
class RestoreAtShow : public QObject {
  public:
    RestoreAtShow(CommandHost& window, TapeJournal& journal)
        : QObject(&window.widget()), window_(window), journal_(journal) {
        window.widget().installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_.widget() && event->type() == QEvent::Show) {
            window_.widget().removeEventFilter(this);
            QTimer::singleShot(0, &window_.widget(),
                               [w = &window_, j = &journal_] { RestoreLastTape(*w, *j, false); });
            deleteLater();
        }
        return false;
    }

  private:
    CommandHost& window_;
    TapeJournal& journal_;
};

}  // namespace

std::string DescribeKeptTape(const KeptJournal& kept) {
    const std::vector<std::string>& lines = kept.read.tape.lines;
    const std::string total = LastTotal(lines);
    return When(kept.changed) + " \u00B7 " + Lines(lines.size()) + " \u00B7 " +
           (total.empty() ? "no total" : "last total " + total);
}

std::unique_ptr<TapeJournal> InstallTapeJournal(CommandHost& window) {
    const std::shared_ptr<JournalFolder> folder = window.hooks().journal;
    if (!folder) return nullptr;
    auto journal = std::make_unique<TapeJournal>(window, folder);
    TapeJournal* j = journal.get();
    window.AddCommand(kRestore, [&window, j] { RestoreLastTape(window, *j, true); });
    if (folder->takeRestoreAtShow()) new RestoreAtShow(window, *j);
    return journal;
}

bool RestoreLastTape(CommandHost& window, TapeJournal& journal, bool choose) {
    window.view().setFocus(FocusTarget::PicSetFocus);
    std::vector<std::string> problems;
    std::vector<KeptJournal> kept = journal.folder().List(journal.path(), problems);
    for (const std::string& problem : problems) Tell(window, problem, MessageIcon::Warning);
    if (kept.empty()) {
        Tell(window, "There is no kept tape to restore.", MessageIcon::Information);
        return false;
    }
    std::size_t pick = 0;
    if (choose && kept.size() > 1) {
        std::vector<std::string> items;
        for (const KeptJournal& k : kept) items.push_back(DescribeKeptTape(k));
        const auto chosen = window.hooks().dialogs->choose(&window.widget(), kTitle,
                                                           "Kept tapes, the newest first:", items);
        if (!chosen || *chosen < 0 || static_cast<std::size_t>(*chosen) >= kept.size())
            return false;
        pick = static_cast<std::size_t>(*chosen);
    }
    KeptJournal& k = kept[pick];
    journal::KeptTape& tape = k.read.tape;
    Calculator& calc = window.calculator();
    if (!calc.tape().empty()) {
        const std::string question = "Replace the tape with the " + Lines(tape.lines.size()) +
                                     " kept at " + When(k.changed) + "?";
        if (!window.hooks().dialogs->question(&window.widget(), kTitle, question)) return false;
    }
    const std::size_t count = tape.lines.size();
    calc.RestoreTape(std::move(tape.lines), tape.decimals, std::move(tape.grandTotalLabel));
    if (k.read.status == journal::ReadStatus::Damaged)
        Tell(window,
             "The end of the kept tape " + QFileInfo(k.path).fileName().toStdString() +
                 " was damaged (" + k.read.problem + ", " + std::to_string(k.read.droppedBytes) +
                 " bytes): it was left out. The tape is back as it was before that, " +
                 Lines(count) + ".",
             MessageIcon::Warning);
    return true;
}

}  // namespace tallyroll
