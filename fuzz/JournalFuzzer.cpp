// The tape's journal. An input whose first byte is even is a journal file of
// any bytes: the reader never fails on it, rebuilds at most a full tape of
// tape-sized lines, accounts for every byte (read or dropped), reads its good
// part again the same way, and a snapshot of what it rebuilt reads back the
// same. An odd first byte makes the rest a session at the calculator (keys,
// decimals, corrections, undo, redo, opened tapes) journaled after every
// step: the file, and the file cut off at a point the input chooses, rebuild
// exactly the tape the calculator had after the last whole write.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "journal/Journal.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

using journal::KeptTape;
using journal::ReadJournal;
using journal::ReadStatus;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "journal: %s\n", what.c_str());
    std::abort();
}

void CheckReader(std::string_view bytes) {
    const journal::ReadOutcome out = ReadJournal(bytes);
    if (out.status == ReadStatus::Unreadable) {
        if (out.problem.empty()) Fail("unreadable without a reason");
        if (!out.tape.lines.empty()) Fail("an unreadable journal gave lines");
        return;
    }
    if (out.goodBytes + out.droppedBytes + out.spareBytes != bytes.size())
        Fail("bytes neither read, dropped nor spare");
    if (bytes.find_first_not_of('\0', bytes.size() - out.spareBytes) != std::string_view::npos)
        Fail("spare room that is not zeros");
    if ((out.status == ReadStatus::Damaged) != (out.droppedBytes > 0))
        Fail("a damaged journal that dropped nothing, or the reverse");
    if (out.droppedBytes > 0 && out.problem.empty()) Fail("bytes dropped without a reason");
    if (out.tape.lines.size() > TapeList::kMaxLines) Fail("more lines than a tape holds");
    for (const std::string& line : out.tape.lines)
        if (line.size() > journal::kMaxText) Fail("a line longer than the writer writes");
    if (out.tape.decimals < -1 || out.tape.decimals > 6) Fail("decimals out of range");

    const journal::ReadOutcome again = ReadJournal(bytes.substr(0, out.goodBytes));
    if (out.goodBytes > 0 && (again.status != ReadStatus::Whole || !(again.tape == out.tape)))
        Fail("the good part read alone gives another tape");

    // What was rebuilt, written again as a snapshot, reads back the same.
    TapeList tape;
    tape.assign(out.tape.lines);
    journal::JournalWriter writer(tape);
    const journal::ReadOutcome snapshot =
        ReadJournal(writer.Snapshot(out.tape.decimals, out.tape.grandTotalLabel));
    if (snapshot.status != ReadStatus::Whole || !(snapshot.tape == out.tape))
        Fail("a snapshot does not read back as the tape it was made of");
}

void CheckSession(std::string_view bytes) {
    SessionLog log;
    HeadlessView view(&log);
    Calculator calc(view);
    calc.SetStartValue(0);
    calc.Form_Activate();
    journal::JournalWriter writer(calc.tape());
    calc.setTapeWatcher(&writer);
    std::string file;
    std::vector<std::size_t> ends;  // of every write since the last rewrite
    std::vector<KeptTape> states;
    const auto now = [&] {
        return KeptTape{calc.tape().lines(), calc.decimalPlaces(), calc.captions().lblGrandTotal};
    };
    constexpr std::string_view kKeys = "0123456789.+-*/=CELG\r\x1b";
    std::size_t cutChoice = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        cutChoice = cutChoice * 31 + b;
        if (b < 200) {
            auto code = static_cast<std::int16_t>(kKeys[b % kKeys.size()]);
            CheckKeyPress(calc, code);
        } else if (b < 210) {
            view.setDecimalSelection((b - 200) % 7);
            calc.cboDecPlace_Click((b - 200) % 7);
        } else if (b < 220) {
            calc.Undo();
        } else if (b < 228) {
            calc.Redo();
        } else if (b < 240) {
            calc.selectTapeLine(calc.tape().count() - 1 - (b - 228));
            calc.lstTape_DblClick();
            if (view.panelVisible) {
                view.setChangeTo(std::to_string(b));
                calc.cmdSaveChange_Click();
            }
        } else if (b < 250) {
            calc.cmdFunction_Click(static_cast<std::int16_t>(b % 3));
        } else {
            calc.ReplaceTape({"+ 1.00", "= 1.00", "***********************"});
        }
        const journal::JournalWrite w =
            writer.Take(calc.decimalPlaces(), calc.captions().lblGrandTotal, file.size());
        if (w.bytes.empty()) continue;
        if (w.rewrite) {
            file = w.bytes;
            ends.clear();
            states.clear();
        } else {
            file += w.bytes;
        }
        ends.push_back(file.size());
        states.push_back(now());
    }
    calc.setTapeWatcher(nullptr);
    if (file.empty()) return;
    if (!(ReadJournal(file).tape == states.back())) Fail("the journal does not rebuild the tape");
    // Cut off anywhere after the first write: the tape of the last whole write.
    const std::size_t cut = ends.front() + cutChoice % (file.size() - ends.front() + 1);
    std::size_t k = 0;
    while (k + 1 < ends.size() && ends[k + 1] <= cut) ++k;
    if (!(ReadJournal(std::string_view(file).substr(0, cut)).tape == states[k]))
        Fail("a journal cut off does not rebuild the tape of its last whole write");
}

}  // namespace
}  // namespace tallyroll

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0)
        tallyroll::CheckReader(rest);
    else
        tallyroll::CheckSession(rest);
    return 0;
}
