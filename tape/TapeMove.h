#pragma once
// Moving the tape's selection from the keyboard: which line a move selects.

namespace tallyroll {

enum class TapeMove { Up, Down, PageUp, PageDown, First, Last };

// The line selected after `move` from `selected` (-1: none) on a tape of
// `count` lines, a page being `page` lines; -1 on an empty tape. With no
// line selected every move but First starts at the newest line.
int TapeRowAfterMove(TapeMove move, int selected, int count, int page);

}  // namespace tallyroll
