// The driver's session on the real window: a QApplication on the offscreen
// platform, the calculator opened as the demo host opens it, and the script
// fed from the event loop one line at a time, so that the lines after one
// that opens a modal window run while that window waits.
#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QThread>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "demo/Forms.h"
#include "tools/script/HostSession.h"
#include "tools/script/Session.h"
#include "tools/script/WindowBackend.h"

namespace tallyroll {

namespace {

class ScriptPump : public QObject {
  public:
    ScriptPump(SessionWindows& windows, ScriptRunner& runner, std::vector<std::string> lines)
        : windows_(windows), runner_(runner), lines_(std::move(lines)) {}

    void start() { post(); }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != kStep) return QObject::event(e);
        // A line that processes pending events itself (a print run does)
        // must finish before the next one runs; a line that opens a modal
        // window runs a deeper event loop, inside which the script goes on.
        const int level = QThread::currentThread()->loopLevel();
        if (!running_.empty() && running_.back() >= level) {
            post();
            return true;
        }
        running_.push_back(level);
        if (!opened_) {
            opened_ = true;
            post();
            windows_.open();  // returns when its modal show ends
        } else if (next_ < lines_.size()) {
            const std::string line = lines_[next_++];
            post();  // runs inside any modal loop this line opens
            runner_.run(line);
        } else {
            QCoreApplication::exit(0);  // every loop, however deeply nested
        }
        running_.pop_back();
        return true;
    }

  private:
    static constexpr QEvent::Type kStep = QEvent::User;

    // Low priority: whatever the last line posted (a queued signal, a
    // window's unload notice) is delivered before the next line runs.
    void post() { QCoreApplication::postEvent(this, new QEvent(kStep), Qt::LowEventPriority); }

    SessionWindows& windows_;
    ScriptRunner& runner_;
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool opened_ = false;
    std::vector<int> running_;  // event loop level of each line under way
};

}  // namespace

LocalDateTime SystemNow() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute()};
}

int RunSession(int argc, char** argv, const DriverOptions& options, std::istream& script,
               std::ostream& out) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // never a window on someone's screen
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the script decides when it ends
    std::vector<std::string> lines;
    for (std::string line; std::getline(script, line);) lines.push_back(line);

    SessionLog log;
    // --host starts with the demo host window, as the program does.
    const std::unique_ptr<SessionWindows> session =
        options.host ? std::make_unique<HostSessionWindows>(log, options)
                     : std::make_unique<SessionWindows>(log, options);
    SessionWindows& windows = *session;
    // The calculator alone still shows the shared title window while it loads
    // on every fifth day.
    Forms titles;
    windows.showTitle = [&titles] { titles.ShowTitle(); };
    WindowBackend backend(windows, options);
    ScriptRunner runner(backend, log, out);
    ScriptPump pump(windows, runner, std::move(lines));
    pump.start();
    return QApplication::exec();
}

}  // namespace tallyroll
