#pragma once
// "Restore last tape…" (Ctrl+Shift+T, also in the tape's menu): brings back
// the newest tape kept in the state folder that is not this window's own,
// offering a list of the kept tapes (time, lines, last total) when there are
// several. Over a tape that is not empty it asks first. A restore is one undo
// step; `tallyroll --restore` starts with the newest kept tape.

#include <memory>
#include <string>

namespace tallyroll {

class CommandHost;
class TapeJournal;
struct KeptJournal;

// The journal of the window's tape and the restore command, when the
// window's hooks name a journal folder; null (and no command) otherwise.
std::unique_ptr<TapeJournal> InstallTapeJournal(CommandHost& window);

// Restores a kept tape into the window: with `choose`, from the list when
// there are several, else the newest. True when the tape was restored.
bool RestoreLastTape(CommandHost& window, TapeJournal& journal, bool choose);

// A kept tape as the list shows it: "2026-12-09 14:32 · 3 lines · last total 15.00".
std::string DescribeKeptTape(const KeptJournal& kept);

}  // namespace tallyroll
