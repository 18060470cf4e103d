#pragma once
// The program's icon for its windows and the calculator's picture (Image1):
// every size the build draws, so a picture of any size is drawn from one as
// large or larger, never blown up from a small one.

#include <QIcon>

namespace tallyroll {

QIcon AppIcon();

}  // namespace tallyroll
