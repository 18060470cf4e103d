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
        const auto start = std::chrono::steady_clock::now();
        shortTape.type(typed);
        onShort.add(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        afterKey(shortTape);

        fullTape.type(key.before);
        onFull.time([&] { fullTape.type(typed); });
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

}  // namespace tallyroll::bench
