// One key through the engine and the headless stand-in, on an empty and on a
// full tape; a correction that recalculates a full tape; filling the tape.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "window/HeadlessView.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

struct Bench {
    SessionLog log;
    HeadlessView view{&log};
    Calculator calc{view};

    Bench() {
        calc.SetStartValue(0);
        calc.Form_Activate();
    }
    void type(std::string_view keys) {
        for (const char c : keys) {
            std::int16_t code = static_cast<unsigned char>(c);
            CheckKeyPress(calc, code);
        }
    }
    // Fills the tape to its limit with calculations of 10 lines each.
    void fill() {
        while (calc.tape().count() < TapeList::kMaxLines) type("12+3.5-2*4/3=*2==");
        log.messages.clear();
    }
};

// Peak resident memory of the process so far, in kilobytes.
double PeakKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kb = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kb;
            break;
        }
        status.ignore(1 << 10, '\n');
    }
    return kb;
}

void Prepare(Bench& b, benchmark::State& state) {
    if (state.range(0) != 0) b.fill();
}

// While the tape is meant to stay empty, empty it now and then outside the
// timing, and start the calculation again with `restart`.
void KeepEmpty(Bench& b, benchmark::State& state, std::int64_t n, std::string_view restart = {}) {
    if (state.range(0) == 0 && n % 1024 == 0) {
        state.PauseTiming();
        b.type("C");
        b.calc.cmdClear_Click();
        b.type(restart);
        state.ResumeTiming();
    }
}

void BM_DigitKey(benchmark::State& state) {
    Bench b;
    Prepare(b, state);
    std::int64_t n = 0;
    for (auto _ : state) {
        b.type("7");
        if (++n % 16 == 0) {  // keep the number short, outside the timing
            state.PauseTiming();
            b.type("E");
            state.ResumeTiming();
        }
    }
    state.counters["tape_lines"] = b.calc.tape().count();
}

void BM_OperatorKey(benchmark::State& state) {
    Bench b;
    Prepare(b, state);
    b.type("5+");
    std::int64_t n = 0;
    for (auto _ : state) {
        b.type("+");  // repeats 5: one operator line appended per key
        KeepEmpty(b, state, ++n, "5+");
    }
    state.counters["tape_lines"] = b.calc.tape().count();
}

void BM_CalculationCycle(benchmark::State& state) {
    Bench b;
    Prepare(b, state);
    std::int64_t n = 0;
    for (auto _ : state) {
        b.type("12+3=");  // five keys, three tape lines
        KeepEmpty(b, state, ++n);
    }
    state.counters["tape_lines"] = b.calc.tape().count();
    state.counters["per_key_ns"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 5,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_RecalculateFullTape(benchmark::State& state) {
    Bench b;
    b.fill();
    int k = 0;
    for (auto _ : state) {
        b.calc.selectTapeLine(0);
        b.calc.lstTape_DblClick();
        b.view.setChangeTo(++k % 2 ? "13" : "12");
        b.calc.cmdSaveChange_Click();
    }
    state.counters["tape_lines"] = b.calc.tape().count();
}

void BM_FillTapeByTyping(benchmark::State& state) {
    for (auto _ : state) {
        Bench b;
        b.fill();
        benchmark::DoNotOptimize(b.calc.tape().count());
    }
    state.counters["peak_rss_kb"] = PeakKb();
}

BENCHMARK(BM_DigitKey)->ArgName("full")->Arg(0)->Arg(1);
BENCHMARK(BM_OperatorKey)->ArgName("full")->Arg(0)->Arg(1);
BENCHMARK(BM_CalculationCycle)->ArgName("full")->Arg(0)->Arg(1);
BENCHMARK(BM_RecalculateFullTape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTapeByTyping)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tallyroll
