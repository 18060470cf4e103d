// The engine and the tape behind the headless stand-in for the window: one
// key (digit, operator, "=") on a full tape against the same key on a short
// tape, a correction that recalculates a full tape, and filling the tape from
// empty to full.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchSupport.h"
#include "headless/HeadlessView.h"

namespace tallyroll::bench {
namespace {

struct Headless {
    SessionLog log;
    HeadlessView view{&log};
    Calculator calc{view};

    Headless() {
        calc.SetStartValue(0);
        calc.Form_Activate();
    }
    void type(std::string_view keys) { TypeKeys(calc, keys); }
    const TapeList& tape() const { return calc.tape(); }
    void fill() {
        FillTape(calc, [this](std::string_view keys) { type(keys); });
    }
};

void BM_Key(benchmark::State& state, const KeyCase& key) {
    Headless shortTape, fullTape;
    fullTape.fill();
    TypeKeyPairs(state, key, shortTape, fullTape, [](Headless&) {});
}

void BM_RecalculateFullTape(benchmark::State& state) {
    Headless h;
    h.fill();
    StepTimer timer(state);
    int k = 0;
    for (auto _ : state) {
        h.calc.selectTapeLine(0);
        h.calc.lstTape_DblClick();
        h.view.setChangeTo(++k % 2 ? "13" : "12");
        timer.time([&] { h.calc.cmdSaveChange_Click(); });
    }
    if (h.calc.tape().line(0) != (k % 2 ? "+ 13.00" : "+ 12.00"))
        state.SkipWithError("the first line was not changed");
    timer.report();
    state.counters["tape_lines"] = h.calc.tape().count();
}

void BM_FillTapeByTyping(benchmark::State& state) {
    StepTimer timer(state);
    for (auto _ : state) {
        timer.time([] {
            Headless h;
            h.fill();
            benchmark::DoNotOptimize(h.calc.tape().count());
        });
    }
    timer.report();
    state.counters["peak_rss_mb"] = PeakRssMb();
}

// Fifty corrections spread over a full tape, then a clear of it: what the
// undo history holds (its own count of strings and tables, and the heap it
// took as malloc reports it), and the time of one undo and redo. "typical" is
// the benchmarks' tape of short calculations; "sub_totals" one calculation
// with a sub total under every number, where each correction rewrites
// 16,383 total lines.
void BM_UndoHistoryFullTape(benchmark::State& state, bool subTotals) {
    Headless h;
    if (subTotals) {
        h.type("1+=");
        while (h.tape().count() < TapeList::kMaxLines) h.type("+2=");
    } else {
        h.fill();
    }
    const std::size_t heapBefore = HeapInUse();
    int steps = 0;
    for (int line = 0; steps < 50 && line < h.tape().count(); line += subTotals ? 0 : 600) {
        while (h.tape().line(line).rfind("+ ", 0) != 0) ++line;  // an operator line
        h.calc.selectTapeLine(line);
        h.calc.lstTape_DblClick();
        h.view.setChangeTo(std::to_string(100 + steps));
        h.calc.cmdSaveChange_Click();
        ++steps;
    }
    const UndoHistory& history = h.calc.history();
    const double stepsKept = static_cast<double>(history.undoCount());
    state.counters["history_mb_50_changes"] = static_cast<double>(history.bytes()) / (1 << 20);
    state.counters["heap_mb_50_changes"] =
        static_cast<double>(HeapInUse() - heapBefore) / (1 << 20);
    StepTimer timer(state);
    for (auto _ : state) {
        timer.time([&] {
            h.calc.Undo();
            h.calc.Redo();
        });
    }
    timer.report();
    if (h.log.beeps != 0) state.SkipWithError("an undo or redo was refused");
    h.calc.cmdClear_Click();
    state.counters["history_mb_and_clear"] = static_cast<double>(history.bytes()) / (1 << 20);
    state.counters["heap_mb_and_clear"] = static_cast<double>(HeapInUse() - heapBefore) / (1 << 20);
    state.counters["steps_kept_50_changes"] = stepsKept;
    state.counters["steps_kept_and_clear"] = static_cast<double>(history.undoCount());
}

void Register() {
    for (const KeyCase& key : kKeyCases)
        benchmark::RegisterBenchmark((std::string("BM_Key/") + key.name).c_str(), BM_Key, key)
            ->UseManualTime();
    benchmark::RegisterBenchmark("BM_RecalculateFullTape", BM_RecalculateFullTape)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    for (const bool subTotals : {false, true})
        benchmark::RegisterBenchmark(
            subTotals ? "BM_UndoHistoryFullTape/sub_totals" : "BM_UndoHistoryFullTape/typical",
            BM_UndoHistoryFullTape, subTotals)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
    benchmark::RegisterBenchmark("BM_FillTapeByTyping", BM_FillTapeByTyping)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseManualTime();
}

}  // namespace
}  // namespace tallyroll::bench

int main(int argc, char** argv) {
    tallyroll::bench::Register();
    return tallyroll::bench::RunBenchmarks(argc, argv);
}
