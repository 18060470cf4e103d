// The calculator window on Qt's offscreen platform, driven by real key and
// mouse events. A key is timed from its key event to the labels and the tape
// view repainted: the press and release go to the focus widget (picSetFocus)
// and the event loop then runs one pass, which delivers what the key posted
// (the list's delayed layout, the update request) and paints every changed
// widget into the window's backing store. The paints of the display and of
// the tape view are counted to show that each key really redrew them.
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "demo/Forms.h"
#include "demo/frmDemo.h"
#include "printing/Printers.h"
#include "window/FrmCalculator.h"
#include "window/commands/TapeJournal.h"

namespace tallyroll::bench {
namespace {

// A fixed day that is not a fifth day: no title window.
constexpr LocalDateTime kNow{2024, 3, 4, 9, 30};

// One pass of the event loop, as between two keys a person types.
void Settle() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Every window keeps the journal of its tape, as in the program, in a state
// folder of the run's own; TALLYROLL_BENCH_JOURNAL=0 leaves it off.
std::shared_ptr<JournalFolder> BenchJournal() {
    static QTemporaryDir folder;
    static const bool on = qEnvironmentVariable("TALLYROLL_BENCH_JOURNAL") != QLatin1String("0");
    if (!on || !folder.isValid()) return nullptr;
    return std::make_shared<JournalFolder>(folder.filePath(QStringLiteral("tallyroll")), true);
}

class EventCounter : public QObject {
  public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) ++count;
        return QObject::eventFilter(watched, event);
    }

  private:
    QEvent::Type type_;
};

// Times how long the window stays disabled (a print run disables it).
class DisabledTimer : public QObject {
  public:
    explicit DisabledTimer(QWidget& window) : window_(window) { window.installEventFilter(this); }
    double lastSeconds = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::EnabledChange) {
            if (!window_.isEnabled())
                clock_.start();
            else if (clock_.isValid())
                lastSeconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget& window_;
    QElapsedTimer clock_;
};

// A calculator window opened as a host opens it, with boxes that answer by
// themselves (the print title box is cancelled: an empty title).
class Window {
  public:
    explicit Window(std::function<std::unique_ptr<Printer>()> printer = nullptr) {
        CalculatorHooks hooks;
        hooks.now = [] { return kNow; };
        hooks.dialogs = MakeScriptedDialogs(log);
        hooks.beep = [] {};
        hooks.endProgram = [] {};
        hooks.defaultPrinter = std::move(printer);
        hooks.journal = BenchJournal();
        window = std::make_unique<FrmCalculator>(std::move(hooks));
        window->SetStartValue(0);
        window->show();
        active = QTest::qWaitForWindowActive(window.get());
        list = qobject_cast<QAbstractItemView*>(window->control(QStringLiteral("lstTape")));
        display = window->control(QStringLiteral("lblResult"));
        list->viewport()->installEventFilter(&tapePaints);
        display->installEventFilter(&displayPaints);
        Settle();
    }

    // This window's focus widget, whether or not the window is the active one.
    QWidget* focus() const {
        QWidget* w = window->focusWidget();
        return w ? w : window.get();
    }

    // Real key events, each followed by one pass of the event loop.
    void type(std::string_view keys) {
        for (const char c : keys) {
            if (c == '\r')
                send(Qt::Key_Return, QStringLiteral("\r"));
            else
                send(QTest::asciiToKey(c), QString(QChar::fromLatin1(c)));
            Settle();
        }
    }

    // Straight into the key table: the tape, the model and the view follow
    // as they do for typed keys, minus a repaint per key.
    void fillQuickly() {
        FillTape(window->calculator(),
                 [this](std::string_view keys) { TypeKeys(window->calculator(), keys); });
        Settle();
    }

    // A double click on a tape line, scrolled into view first, as a person does.
    void doubleClickLine(int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        const QPoint at = list->visualRect(index).center();
        QWidget* viewport = list->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        Settle();
    }

    const TapeList& tape() const { return window->calculator().tape(); }
    QString displayText() const { return window->result(); }

    SessionLog log;
    std::unique_ptr<FrmCalculator> window;
    bool active = false;
    QAbstractItemView* list = nullptr;
    QWidget* display = nullptr;
    EventCounter tapePaints{QEvent::Paint}, displayPaints{QEvent::Paint};

  private:
    void send(int key, const QString& text) {
        QWidget* target = focus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &release);
    }
};

// Filling the tape from empty to full by typing, with a repaint after every
// key. Registered first, so that its peak memory is that of a process that
// has done nothing else: the window with a full tape.
void BM_WindowFillTape(benchmark::State& state) {
    StepTimer timer(state);
    std::int64_t keys = 0;
    for (auto _ : state) {
        Window w;
        timer.time([&] {
            FillTape(w.window->calculator(), [&](std::string_view k) {
                w.type(k);
                keys += static_cast<std::int64_t>(k.size());
            });
        });
        if (w.tape().count() != TapeList::kMaxLines) state.SkipWithError("the tape is not full");
        state.counters["peak_rss_mb"] = PeakRssMb();
    }
    timer.report();
    state.counters["keys"] = static_cast<double>(keys) / static_cast<double>(state.iterations());
}

// One key on a full tape against the same key on a short one, each window
// getting its keys through its own focus widget.
void BM_WindowKey(benchmark::State& state, const KeyCase& key) {
    Window shortTape, fullTape;
    fullTape.fillQuickly();
    for (const Window* w : {&shortTape, &fullTape}) {
        if (w->focus()->objectName() != QLatin1String("picSetFocus")) {
            state.SkipWithError("the keys do not reach picSetFocus");
            return;
        }
    }
    const int tapePaints = fullTape.tapePaints.count, displayPaints = fullTape.displayPaints.count;
    int latePaints = 0;
    TypeKeyPairs(state, key, shortTape, fullTape, [&](Window& w) {
        // Anything the timed pass left for later would paint now.
        const int painted = w.tapePaints.count + w.displayPaints.count;
        Settle();
        latePaints += w.tapePaints.count + w.displayPaints.count - painted;
    });
    if (fullTape.list->model()->rowCount() != fullTape.tape().count())
        state.SkipWithError("the tape view does not show the tape");
    // Paints of the full tape's window per timed key (the untimed keys
    // between them paint too, so for "digit" and "equals" these count two
    // keys), and the paints that came only after a timed pass: none, when
    // the timing covers the repaint.
    const auto perKey = [&](int paints) {
        return static_cast<double>(paints) / static_cast<double>(state.iterations());
    };
    state.counters["tape_paints"] = perKey(fullTape.tapePaints.count - tapePaints);
    state.counters["display_paints"] = perKey(fullTape.displayPaints.count - displayPaints);
    state.counters["late_paints"] = latePaints;
}

// The keys of every kind typed in turn, each kind on a short and a full tape
// of its own: their ratios on the full tape ("operator_vs_digit",
// "equals_vs_digit") come from medians of keys typed side by side.
void BM_WindowKeys(benchmark::State& state) {
    std::vector<std::unique_ptr<Window>> windows;
    std::vector<KeyLane<Window>> lanes;
    for (const KeyCase& key : kKeyCases) {
        Window& shortTape = *windows.emplace_back(std::make_unique<Window>());
        Window& fullTape = *windows.emplace_back(std::make_unique<Window>());
        fullTape.fillQuickly();
        lanes.push_back(KeyLane<Window>{key, shortTape, fullTape});
    }
    int latePaints = 0;
    TypeKeyRounds(state, lanes, [&](Window& w) {
        const int painted = w.tapePaints.count + w.displayPaints.count;
        Settle();
        latePaints += w.tapePaints.count + w.displayPaints.count - painted;
    });
    state.counters["late_paints"] = latePaints;
}

// Saving a change on the first line of a full tape: the double click and the
// typing are untimed; the Enter that saves and recalculates every line is
// timed, with the repaint of the tape view.
void BM_WindowSaveChange(benchmark::State& state) {
    Window w;
    w.fillQuickly();
    StepTimer timer(state);
    int k = 0;
    for (auto _ : state) {
        w.doubleClickLine(0);
        w.type(++k % 2 ? "13" : "12");
        timer.time([&] { w.type("\r"); });
    }
    if (w.tape().line(0) != (k % 2 ? "+ 13.00" : "+ 12.00"))
        state.SkipWithError("the first line was not changed");
    if (w.window->control(QStringLiteral("fraChangeTape"))->isVisible())
        state.SkipWithError("the change panel stayed open");
    timer.report();
    state.counters["tape_lines"] = w.tape().count();
}

// "P" on a full tape: the whole print run, from the key to the window enabled
// again and repainted. `disabled` is how long the window was disabled.
void BM_WindowPrint(benchmark::State& state, bool pdf) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("tape.pdf")).toStdString();
    SessionLog* recording = nullptr;
    Window w([&]() -> std::unique_ptr<Printer> {
        return pdf ? MakePdfPrinter(path) : MakeRecordingPrinter(*recording);
    });
    recording = &w.log;
    w.fillQuickly();
    DisabledTimer disabled(*w.window);
    StepTimer timer(state);
    double disabledMax = 0;
    std::size_t operations = 0;
    for (auto _ : state) {
        timer.time([&] { w.type("P"); });
        disabledMax = std::max(disabledMax, disabled.lastSeconds);
        operations = w.log.printed.size();
        w.log.printed.clear();
    }
    if (!w.log.messages.empty()) state.SkipWithError(w.log.messages.back().text.c_str());
    timer.report();
    state.counters["disabled_max"] = disabledMax;
    if (pdf)
        state.counters["pdf_mb"] =
            static_cast<double>(QFileInfo(dir.filePath("tape.pdf")).size()) / 1e6;
    else
        state.counters["operations"] = static_cast<double>(operations);
}

// A click on "Calculator" in the Demo window, timed until the calculator
// window is exposed and until its first frame is painted (the event loop has
// come back after painting it). The window is then closed with its close box
// and released before the next click.
class CalculatorShown : public QObject {
  public:
    explicit CalculatorShown(const Forms& forms) : forms_(forms) {}
    QElapsedTimer clock;
    double exposed = -1, painted = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        FrmCalculator* calc = forms_.loadedCalculator();
        if (!calc) return false;
        if (event->type() == QEvent::Expose && exposed < 0 && watched == calc->windowHandle() &&
            calc->windowHandle()->isExposed()) {
            exposed = seconds();
        } else if (event->type() == QEvent::Paint && painted < 0 && watched == calc) {
            painted = 0;  // seen; the time is taken once painting has finished
            QTimer::singleShot(0, calc, [this, calc] {
                painted = seconds();
                calc->close();
            });
        }
        return false;
    }

  private:
    double seconds() const { return static_cast<double>(clock.nsecsElapsed()) / 1e9; }
    const Forms& forms_;
};

void BM_DemoCalculatorClick(benchmark::State& state) {
    CalculatorHooks hooks;
    hooks.now = [] { return kNow; };
    Forms forms(std::move(hooks));
    frmDemo& demo = forms.demo();
    demo.show();
    if (!QTest::qWaitForWindowExposed(&demo)) {
        state.SkipWithError("the Demo window was not shown");
        return;
    }
    Settle();
    CalculatorShown shown(forms);
    qApp->installEventFilter(&shown);
    StepTimer timer(state);
    Samples exposed;
    double first = -1, firstExposed = -1;
    for (auto _ : state) {
        shown.exposed = shown.painted = -1;
        shown.clock.start();
        // Returns once the calculator has been closed again.
        QTest::mouseClick(&demo.cmdCalc(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (shown.painted <= 0 || shown.exposed < 0) {
            state.SkipWithError("the calculator window was not shown");
            break;
        }
        timer.record(shown.painted);
        exposed.add(shown.exposed);
        if (first < 0) {
            first = shown.painted;
            firstExposed = shown.exposed;
        }
    }
    qApp->removeEventFilter(&shown);
    timer.report();
    if (!exposed.empty()) state.counters["exposed_median"] = exposed.quantile(0.5);
    state.counters["first_click"] = first;
    state.counters["first_exposed"] = firstExposed;
}

void Register() {
    benchmark::RegisterBenchmark("BM_WindowFillTape", BM_WindowFillTape)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseManualTime();
    for (const KeyCase& key : kKeyCases)
        benchmark::RegisterBenchmark((std::string("BM_WindowKey/") + key.name).c_str(),
                                     BM_WindowKey, key)
            ->UseManualTime();
    benchmark::RegisterBenchmark("BM_WindowKeys", BM_WindowKeys)->UseManualTime()->Repetitions(3);
    benchmark::RegisterBenchmark("BM_WindowSaveChange", BM_WindowSaveChange)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    for (const bool pdf : {false, true})
        benchmark::RegisterBenchmark(pdf ? "BM_WindowPrint/pdf" : "BM_WindowPrint/record",
                                     BM_WindowPrint, pdf)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5)
            ->UseManualTime();
    benchmark::RegisterBenchmark("BM_DemoCalculatorClick", BM_DemoCalculatorClick)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20)
        ->UseManualTime();
}

}  // namespace
}  // namespace tallyroll::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tallyroll::bench::Register();
    return tallyroll::bench::RunBenchmarks(argc, argv);
}
