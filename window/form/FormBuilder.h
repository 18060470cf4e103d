#pragma once
// The calculator window's form, built from its control table on a plain
// widget: the window's own look (caption, font, colours, icon), every control
// with its place, font, colours and stacking, and the typed controls the
// calculation reaches. Zooming scales every place and font again.

#include <QString>

#include "window/form/FormControls.h"
#include "window/form/Pixels.h"

class QWidget;

namespace tallyroll {

class TapeModel;

// Gives `form` the window's caption, font, background and icon; the font
// families of the definition get their substitutes on this platform.
void SetUpForm(QWidget& form);

// Makes every control of the table on `form` (the tape list shows `model`)
// and returns the ones the calculation reaches.
ViewControls BuildForm(QWidget& form, TapeModel& model, const PixelScale& px);

// Sets every control's place and font again, at the zoom of `px`.
void ScaleForm(QWidget& form, const PixelScale& px);

// A control of `form` by its name, and Index for members of a control array.
QWidget* FindControl(const QWidget& form, const QString& name, int index = -1);

}  // namespace tallyroll
