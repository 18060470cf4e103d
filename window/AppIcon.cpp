#include "window/AppIcon.h"

namespace tallyroll {

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/tallyroll/window/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace tallyroll
