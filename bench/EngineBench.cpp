// The engine and the tape behind the headless stand-in for the window: one
// key (digit, operator, "=") on a short and on a full tape, a correction that
// recalculates a full tape, and filling the tape from empty to full.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchSupport.h"
#include "window/HeadlessView.h"

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
    void fill() {
        FillTape(calc, [this](std::string_view keys) { type(keys); });
    }
};

void BM_Key(benchmark::State& state, const KeyCase& key) {
    const bool full = state.range(0) != 0;
    Headless h;
    if (full) h.fill();
    h.type(key.prime);
    const char typed[] = {key.key, '\0'};
    StepTimer timer(state);
    std::int64_t n = 0;
    for (auto _ : state) {
        h.type(key.before);
        timer.time([&] { h.type(typed); });
        if (!full && ++n % kKeysBetweenClears == 0) {
            h.type("CL");
            h.type(key.prime);
        }
    }
    if (full && h.calc.tape().count() != TapeList::kMaxLines)
        state.SkipWithError("the full tape did not stay at its limit");
    timer.report();
    state.counters["tape_lines"] = h.calc.tape().count();
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

void Register() {
    for (const KeyCase& key : kKeyCases)
        benchmark::RegisterBenchmark((std::string("BM_Key/") + key.name).c_str(), BM_Key, key)
            ->ArgName("full")
            ->Arg(0)
            ->Arg(1)
            ->UseManualTime();
    benchmark::RegisterBenchmark("BM_RecalculateFullTape", BM_RecalculateFullTape)
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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
