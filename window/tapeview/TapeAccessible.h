#pragma once
// The tape view as assistive technology sees it: a list whose children are
// the tape's lines, each a list item with its whole text, the selected line
// selected. The view tells it what changed; every notice costs the same on a
// full tape as on a short one and does nothing while no assistive technology
// listens.

class QAccessibleInterface;

namespace tallyroll {

class TapeListView;

QAccessibleInterface* MakeTapeAccessible(TapeListView& view);

namespace tape_accessibility {
void RowsInserted(TapeListView& view, int first, int last);
void RowsAboutToBeRemoved(TapeListView& view, int first, int last);
void AboutToReset(TapeListView& view);
void Reset(TapeListView& view);
void RowsChanged(TapeListView& view, int first, int last);
void SelectionChanged(TapeListView& view, int row);
void CurrentChanged(TapeListView& view, int row);
// The focus came to the list: once the list is told focused, its current line
// is, so a screen reader reads the line rather than only the list.
void FocusCame(TapeListView& view);
}  // namespace tape_accessibility

}  // namespace tallyroll
