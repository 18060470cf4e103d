// The engine and the tape behind the headless stand-in for the window: one
// key (digit, operator, "=") on a full tape against the same key on a short
// tape, a correction that recalculates a full tape, and filling the tape from
// empty to full.
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

void Register() {
    for (const KeyCase& key : kKeyCases)
        benchmark::RegisterBenchmark((std::string("BM_Key/") + key.name).c_str(), BM_Key, key)
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
