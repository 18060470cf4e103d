#include "tools/script/HostSession.h"

#include <QGuiApplication>
#include <QLabel>

#include "demo/frmDemo.h"

namespace tallyroll {

HostSessionWindows::HostSessionWindows(SessionLog& log, const DriverOptions& options)
    : SessionWindows(log, options), forms_(calculatorHooks()) {}

void HostSessionWindows::open() {
    // Closing the host ends the program, not the script: later dumps still
    // report what is left.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    forms_.demo().show();
}

QWidget* HostSessionWindows::activeWindow() const {
    if (QWidget* modal = SessionWindows::activeWindow()) return modal;
    frmDemo* demo = forms_.loadedDemo();
    return demo && demo->isVisible() ? demo : nullptr;
}

std::optional<Snapshot::Host> HostSessionWindows::host() const {
    frmDemo* demo = forms_.loadedDemo();
    if (!demo) return Snapshot::Host{};  // closed and released
    return Snapshot::Host{demo->isVisible(), demo->lblValue().text().toStdString()};
}

}  // namespace tallyroll
