#pragma once
// Whether a control's whole text can be seen, told from what it paints: the
// metrics of the font it actually paints in against the room its text gets.

class QWidget;

namespace tallyroll {

struct TextFit {
    bool fits = true;   // no text is cut, clipped or elided
    double points = 0;  // size of the font the text is painted in
};

// Labels, buttons, text boxes, combo boxes, frames and the tape list; other
// controls show no text and always fit. For the tape list every line must
// fit its row or be reachable whole with the horizontal scroll bar.
TextFit TextFitOf(const QWidget& control);

}  // namespace tallyroll
