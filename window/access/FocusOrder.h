#pragma once
// Where Tab goes in the calculator window. The focus holder first, then the
// buttons in reading order (row by row as they stand, left to right), the
// decimal-places list and the tape. While the change panel is open, Tab and
// Shift+Tab go round its controls only: New number, the operator list, Save,
// Cancel. The tab indexes of the window definition stay as its data.

class QWidget;

namespace tallyroll {

struct ViewControls;

// Sets Qt's focus chain of the window, once its controls exist.
void SetFocusOrder(QWidget& window, const ViewControls& controls);

// Moves the focus to the next (or previous) control of the open change panel
// when it is in the panel; false when the panel is closed or the focus is
// elsewhere, so that Tab works as it always does.
bool MoveFocusInPanel(const ViewControls& controls, bool next);

}  // namespace tallyroll
