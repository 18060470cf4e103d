#include "engine/UndoHistory.h"

#include <algorithm>

#include "engine/NumberText.h"
#include "tape/Recalculate.h"
#include "tape/TapeLine.h"

namespace tallyroll {

namespace {

std::size_t StringBytes(const std::string& s) {
    // A short text lives inside the string object itself.
    return sizeof(std::string) + (s.capacity() > 15 ? s.capacity() + 1 : 0);
}

template <typename Lines>
std::size_t LinesBytes(const Lines& lines) {
    std::size_t n = 0;
    for (const std::string& s : lines) n += StringBytes(s);
    return n;
}

}  // namespace

bool UndoSnapshot::SameCalculation(const UndoSnapshot& other) const {
    return state == other.state && lblResult == other.lblResult &&
           lblOperator == other.lblOperator && lblGrandTotal == other.lblGrandTotal &&
           lblMemoryVisible == other.lblMemoryVisible && decimals == other.decimals;
}

UndoHistory::UndoHistory(TapeList& tape) : tape_(tape) {
    tape_.setRecorder(this);
}

UndoHistory::~UndoHistory() {
    tape_.setRecorder(nullptr);
}

void UndoHistory::Begin(std::string name, UndoSnapshot before) {
    if (depth_++ > 0) return;  // inside another action: its step takes it all
    pending_ = Step{};
    pending_.name = std::move(name);
    pending_.other = std::move(before);
    recording_ = true;
    broken_ = false;
}

void UndoHistory::End(const UndoSnapshot& after) {
    if (depth_ == 0 || --depth_ > 0) return;
    recording_ = false;
    Step step = std::move(pending_);
    pending_ = Step{};
    if (broken_) return;
    if (!step.cleared && step.replaced.empty() && !step.tail.started &&
        after.SameCalculation(step.other))
        return;  // the action changed nothing
    DropRedo();
    if (step.replaced.size() > kFewLines && !step.cleared && !step.tail.started) {
        step.format = after.state.strFormat;
        Compact(step);
    }
    undo_.push_back(std::move(step));
    restoredValid_ = false;
    Trim();
    Changed();
}

UndoHistory::Step* UndoHistory::Recording() {
    if (recording_) return broken_ ? nullptr : &pending_;
    // A change outside an action that records a step writes to the tape:
    // there is nothing to redo any more.
    DropRedo();
    return undo_.empty() ? nullptr : &undo_.back();
}

void UndoHistory::Forget() {
    if (recording_) broken_ = true;
    const bool had = !undo_.empty() || !redo_.empty();
    undo_.clear();
    redo_.clear();
    if (had) Changed();
}

void UndoHistory::DropRedo() {
    if (redo_.empty()) return;
    redo_.clear();
    Changed();
}

// The step's own changes come in one order only: a clear, then replaced
// lines, then appended and trimmed ones. Anything else cannot be taken back
// line by line, and the history is given up rather than put back wrongly.
void UndoHistory::tapeCleared(std::deque<std::string>&& lines) {
    if (lines.empty()) return;  // nothing went
    Step* step = recording_ && !broken_ ? &pending_ : nullptr;
    if (!step || step->cleared || !step->replaced.empty() || step->tail.started) {
        if (!recording_ || !broken_) Forget();
        return;
    }
    step->cleared = true;
    step->clearedLines = std::move(lines);
}

void UndoHistory::lineReplaced(int k, std::string&& oldText) {
    Step* step = recording_ && !broken_ ? &pending_ : nullptr;
    if (!step || step->tail.started) {
        if (!recording_ || !broken_) Forget();
        return;
    }
    step->replaced.emplace_back(k, std::move(oldText));
}

void UndoHistory::lineAppended(int countBefore) {
    Step* step = Recording();
    if (!step) return;
    Tail& t = step->tail;
    if (!t.started) {
        t.started = true;
        t.base = countBefore;
    }
    ++t.added;
}

void UndoHistory::firstLineRemoved(std::string&& text) {
    Step* step = Recording();
    if (!step) return;
    Tail& t = step->tail;
    if (!t.started) {
        t.started = true;
        t.base = tape_.count();
    }
    if (t.base > 0) {
        t.trimmed.push_back(std::move(text));
        --t.base;
    } else if (t.added > 0) {
        --t.added;  // a line of the tail itself: the step never had it
    }
}

void UndoHistory::Recalculate(std::deque<std::string>& lines, const std::string& format) {
    TapeList scratch;
    scratch.putLines(std::move(lines), -1);
    RecalculateTape(scratch, [&format](double v) { return FormatNumber(v, format); });
    lines = scratch.takeLines();
}

// A correction rewrites one operator line and then every total after it: on
// a long tape thousands of lines. Those follow from the tape again, so the
// step keeps the operator line and the lines the recalculation would get
// wrong (totals typed live are not always what the tape's rounded numbers
// give), after checking that both ways give the tapes back exactly.
void UndoHistory::Compact(Step& step) const {
    std::deque<std::string> after;
    for (int i = 0; i < tape_.count(); ++i) after.push_back(tape_.line(i));
    std::deque<std::string> before = after;
    for (auto it = step.replaced.rbegin(); it != step.replaced.rend(); ++it)
        before[static_cast<std::size_t>(it->first)] = it->second;

    Lines seeds;
    for (const auto& [k, old] : step.replaced) {
        const auto first = FirstChar(after[static_cast<std::size_t>(k)]);
        if (first != "=" && first != "G") seeds.emplace_back(k, old);
    }
    // Undo: the old seeds, a recalculation, then the exceptions.
    std::deque<std::string> trial = after;
    for (const auto& [k, old] : seeds) trial[static_cast<std::size_t>(k)] = old;
    Recalculate(trial, step.format);
    Lines exceptions;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (trial[i] != before[i]) exceptions.emplace_back(static_cast<int>(i), before[i]);
    // Redo: the new seeds and a recalculation, as the save itself did.
    trial = std::move(before);
    for (const auto& [k, old] : seeds)
        trial[static_cast<std::size_t>(k)] = after[static_cast<std::size_t>(k)];
    Recalculate(trial, step.format);
    if (trial != after || exceptions.size() >= step.replaced.size()) return;
    step.recalculated = true;
    step.seeds = std::move(seeds);
    step.exceptions = std::move(exceptions);
    step.replaced.clear();
    step.replaced.shrink_to_fit();
}

void UndoHistory::UndoTail(Tail& t, std::deque<std::string>& lines) {
    const auto added =
        static_cast<std::size_t>(std::clamp(t.added, 0, static_cast<int>(lines.size())));
    t.appended.assign(std::make_move_iterator(lines.end() - static_cast<std::ptrdiff_t>(added)),
                      std::make_move_iterator(lines.end()));
    lines.resize(lines.size() - added);
    for (auto it = t.trimmed.rbegin(); it != t.trimmed.rend(); ++it)
        lines.push_front(std::move(*it));
    t.trimmed.clear();
    t.started = false;
    t.base = t.added = 0;
}

void UndoHistory::RedoTail(Tail& t, std::deque<std::string>& lines) {
    if (t.appended.empty()) return;
    t.started = true;
    t.base = static_cast<int>(lines.size());
    t.added = 0;
    for (std::string& text : t.appended) {
        lines.push_back(std::move(text));
        ++t.added;
        if (lines.size() <= static_cast<std::size_t>(TapeList::kMaxLines)) continue;
        if (t.base > 0) {
            t.trimmed.push_back(std::move(lines.front()));
            --t.base;
        } else {
            --t.added;
        }
        lines.pop_front();
    }
    t.appended.clear();
}

bool UndoHistory::Undo(UndoSnapshot& live) {
    if (undo_.empty() || recording_) return false;
    Step& step = undo_.back();
    std::deque<std::string> lines = tape_.takeLines();
    UndoTail(step.tail, lines);
    if (step.recalculated) {
        for (auto& [k, text] : step.seeds) std::swap(lines[static_cast<std::size_t>(k)], text);
        Recalculate(lines, step.format);
        for (const auto& [k, text] : step.exceptions) lines[static_cast<std::size_t>(k)] = text;
    }
    for (auto it = step.replaced.rbegin(); it != step.replaced.rend(); ++it)
        if (it->first >= 0 && static_cast<std::size_t>(it->first) < lines.size())
            std::swap(lines[static_cast<std::size_t>(it->first)], it->second);
    if (step.cleared) std::swap(lines, step.clearedLines);
    std::swap(live, step.other);
    tape_.putLines(std::move(lines), live.selected);
    redo_.push_back(std::move(step));
    undo_.pop_back();
    restored_ = live;
    restoredValid_ = true;
    Changed();
    return true;
}

bool UndoHistory::Redo(UndoSnapshot& live) {
    if (recording_) return false;
    // Something changed the calculation since the last undo or redo.
    if (!redo_.empty() && (!restoredValid_ || !live.SameCalculation(restored_))) DropRedo();
    if (redo_.empty()) return false;
    Step& step = redo_.back();
    std::deque<std::string> lines = tape_.takeLines();
    if (step.cleared) std::swap(lines, step.clearedLines);
    for (auto& [k, text] : step.replaced)
        if (k >= 0 && static_cast<std::size_t>(k) < lines.size())
            std::swap(lines[static_cast<std::size_t>(k)], text);
    if (step.recalculated) {
        for (auto& [k, text] : step.seeds) std::swap(lines[static_cast<std::size_t>(k)], text);
        Recalculate(lines, step.format);
    }
    RedoTail(step.tail, lines);
    std::swap(live, step.other);
    tape_.putLines(std::move(lines), live.selected);
    undo_.push_back(std::move(step));
    redo_.pop_back();
    restored_ = live;
    restoredValid_ = true;
    Changed();
    return true;
}

std::size_t UndoHistory::StepBytes(const Step& s) {
    std::size_t n = sizeof(Step) + StringBytes(s.name) + LinesBytes(s.clearedLines) +
                    LinesBytes(s.tail.trimmed) + LinesBytes(s.tail.appended) +
                    StringBytes(s.format);
    for (const Lines* lines : {&s.replaced, &s.seeds, &s.exceptions}) {
        n += lines->capacity() * sizeof(Lines::value_type);
        for (const auto& r : *lines) n += StringBytes(r.second) - sizeof(std::string);
    }
    const UndoSnapshot& o = s.other;
    for (const std::string* t : {&o.lblResult, &o.lblOperator, &o.lblGrandTotal,
                                 &o.state.strLastInput, &o.state.strOperator, &o.state.strFormat})
        n += StringBytes(*t) - sizeof(std::string);
    return n;
}

std::size_t UndoHistory::bytes() const {
    std::size_t n = 0;
    for (const auto* steps : {&undo_, &redo_})
        for (const Step& s : *steps) n += StepBytes(s);
    return n;
}

void UndoHistory::Trim() {
    while (undo_.size() > kMaxSteps) undo_.pop_front();
    while (undo_.size() > 1 && bytes() > kMaxBytes) undo_.pop_front();
}

void UndoHistory::Changed() {
    if (listener_) listener_();
}

}  // namespace tallyroll
