#pragma once
// What the engine and the window benchmarks share: the keys they time, one
// way to fill the tape to its limit, per-step timing with medians, and the
// process's peak memory.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "window/KeyTable.h"

namespace tallyroll::bench {

// One key as a person types it, over and over: `prime` is typed once on a
// fresh (or just cleared) tape, `before` ahead of every timed key, outside
// the timing, so that every timed key does the same work.
struct KeyCase {
    const char* name;
    std::string_view prime;
    std::string_view before;
    char key;
};

inline constexpr KeyCase kKeyCases[] = {
    {"digit", "", "E", '7'},       // one digit after clear entry
    {"operator", "5+", "", '+'},   // repeats 5: one operator line per key
    {"equals", "12+", "+3", '='},  // an operator line and a total line per key
};

// The short tape is cleared ("C", "L") and primed again after this many
// timed keys, outside the timing.
inline constexpr std::int64_t kKeysBetweenClears = 1024;

// Calculations of about ten lines each, then one operator line per "+" until
// the tape holds exactly kMaxLines lines: nothing is trimmed yet, line 0 is
// "+ 12.00", and the next line appended removes the oldest one.
inline constexpr std::string_view kCalculation = "12+3.5-2*4/3=*2==";
inline constexpr int kMostLinesPerCalculation = 12;

// Types straight into the key table, as the focus holder's key handler does.
inline void TypeKeys(Calculator& calc, std::string_view keys) {
    for (const char c : keys) {
        std::int16_t code = static_cast<unsigned char>(c);
        CheckKeyPress(calc, code);
    }
}

// `type` types a run of keys by whatever road the benchmark measures.
template <typename Type>
void FillTape(const Calculator& calc, Type&& type) {
    while (calc.tape().count() + kMostLinesPerCalculation <= TapeList::kMaxLines)
        type(kCalculation);
    type("1+");
    while (calc.tape().count() < TapeList::kMaxLines) type("+");
}

// Bytes of the heap in use now, as malloc counts them.
inline std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Peak resident memory of this process so far (VmHWM), in megabytes.
inline double PeakRssMb() {
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
    return kb / 1024;
}

// Single times, kept so that a report can give their quantiles.
class Samples {
  public:
    Samples() { values_.reserve(kKept); }
    void add(double value) {
        if (values_.size() < kKept) values_.push_back(value);
    }
    bool empty() const { return values_.empty(); }
    double quantile(double q) {
        const auto k = static_cast<std::ptrdiff_t>(q * static_cast<double>(values_.size() - 1));
        std::nth_element(values_.begin(), values_.begin() + k, values_.end());
        return values_[static_cast<std::size_t>(k)];
    }

  private:
    static constexpr std::size_t kKept = std::size_t{1} << 17;
    std::vector<double> values_;
};

// Times one step per iteration (the benchmark uses UseManualTime) and keeps
// the single times, so the report carries their median and 90th percentile
// as well as Google Benchmark's mean.
class StepTimer {
  public:
    explicit StepTimer(benchmark::State& state) : state_(state) {}
    StepTimer(const StepTimer&) = delete;
    StepTimer& operator=(const StepTimer&) = delete;

    template <typename Step>
    void time(Step&& step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        record(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    // A time taken by other means, in seconds.
    void record(double seconds) {
        state_.SetIterationTime(seconds);
        samples_.add(seconds);
    }

    // Counters "median" and "p90", in seconds.
    void report() {
        if (samples_.empty()) return;
        state_.counters["median"] = samples_.quantile(0.5);
        state_.counters["p90"] = samples_.quantile(0.9);
    }

  private:
    benchmark::State& state_;
    Samples samples_;
};

// Types one key and returns its time in seconds. Kept out of line, one copy
// for keys on a full tape and one for a short tape, so that a profiler can
// count exactly the timed keys (valgrind --toggle-collect='*TimedKey<true*').
template <bool full, typename Road>
[[gnu::noinline]] double TimedKey(Road& road, std::string_view typed) {
    bool which = full;  // keeps the two copies apart
    benchmark::DoNotOptimize(which);
    const auto start = std::chrono::steady_clock::now();
    road.type(typed);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Types one key case alternately on a short and on a full tape, so that a
// change in the machine's load falls on both alike. A Road has
// type(std::string_view) and tape(); afterKey(road) runs untimed after every
// timed key. Google Benchmark's time and the "median" and "p90" counters are
// the key on the full tape; "short_median" is the same key on the short
// tape, "full_vs_short" the ratio of the two medians.
template <typename Road, typename AfterKey>
void TypeKeyPairs(benchmark::State& state, const KeyCase& key, Road& shortTape, Road& fullTape,
                  AfterKey&& afterKey) {
    const char typed[] = {key.key, '\0'};
    shortTape.type(key.prime);
    fullTape.type(key.prime);
    StepTimer onFull(state);
    Samples onShort;
    std::int64_t n = 0;
    for (auto _ : state) {
        shortTape.type(key.before);
        onShort.add(TimedKey<false>(shortTape, typed));
        afterKey(shortTape);

        fullTape.type(key.before);
        onFull.record(TimedKey<true>(fullTape, typed));
        afterKey(fullTape);

        if (++n % kKeysBetweenClears == 0) {
            shortTape.type("CL");
            shortTape.type(key.prime);
        }
    }
    if (fullTape.tape().count() != TapeList::kMaxLines)
        state.SkipWithError("the full tape did not stay at its limit");
    onFull.report();
    if (onShort.empty()) return;
    const double shortMedian = onShort.quantile(0.5);
    state.counters["short_median"] = shortMedian;
    state.counters["full_vs_short"] = state.counters["median"].value / shortMedian;
}

// One key case with a short and a full tape of its own.
template <typename Road>
struct KeyLane {
    const KeyCase& key;
    Road& shortTape;
    Road& fullTape;
    Samples onShort{}, onFull{};
    std::int64_t typed = 0;
};

// Types the key of every lane in turn, each on its short tape and then on its
// full one, every key timed on its own: a change of the machine's load falls
// on every kind of key alike, so the ratios of their medians hold from run to
// run. An iteration is one round of the lanes, timed by its keys on the full
// tapes. Counters, per lane: "<key>" and "<key>_p90" on the full tape,
// "<key>_short" and "<key>_full_vs_short" (medians); and for every lane after
// the first, "<key>_vs_<first key>" on the full tapes.
template <typename Road, typename AfterKey>
void TypeKeyRounds(benchmark::State& state, std::vector<KeyLane<Road>>& lanes,
                   AfterKey&& afterKey) {
    for (KeyLane<Road>& lane : lanes) {
        lane.shortTape.type(lane.key.prime);
        lane.fullTape.type(lane.key.prime);
    }
    for (auto _ : state) {
        double round = 0;
        for (KeyLane<Road>& lane : lanes) {
            const char typed[] = {lane.key.key, '\0'};
            lane.shortTape.type(lane.key.before);
            lane.onShort.add(TimedKey<false>(lane.shortTape, typed));
            afterKey(lane.shortTape);
            lane.fullTape.type(lane.key.before);
            const double t = TimedKey<true>(lane.fullTape, typed);
            lane.onFull.add(t);
            round += t;
            afterKey(lane.fullTape);
            if (++lane.typed % kKeysBetweenClears == 0) {
                lane.shortTape.type("CL");
                lane.shortTape.type(lane.key.prime);
            }
        }
        state.SetIterationTime(round);
    }
    if (lanes.empty() || lanes.front().onFull.empty()) return;
    const double first = lanes.front().onFull.quantile(0.5);
    for (KeyLane<Road>& lane : lanes) {
        if (lane.fullTape.tape().count() != TapeList::kMaxLines)
            state.SkipWithError("a full tape did not stay at its limit");
        const std::string name = lane.key.name;
        const double full = lane.onFull.quantile(0.5), onShort = lane.onShort.quantile(0.5);
        state.counters[name] = full;
        state.counters[name + "_p90"] = lane.onFull.quantile(0.9);
        state.counters[name + "_short"] = onShort;
        state.counters[name + "_full_vs_short"] = full / onShort;
        if (&lane != &lanes.front())
            state.counters[name + "_vs_" + lanes.front().key.name] = full / first;
    }
}

// The main of a benchmark program, once its benchmarks are registered.
inline int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tallyroll::bench
