#include "tape/TapeList.h"

#include <algorithm>
#include <iterator>

namespace tallyroll {

const std::string& TapeList::line(int k) const {
    static const std::string kEmpty;
    if (k < 0 || k >= count()) return kEmpty;
    return lines_[static_cast<std::size_t>(k)];
}

void TapeList::select(int k) {
    if (k < -1 || k >= count()) return;
    selected_ = k;
    Tell(&TapeObserver::tapeSelectionChanged, k);
}

void TapeList::add(std::string text) {
    if (recorder_) recorder_->lineAppended(count());
    Tell(&TapeObserver::tapeAboutToAppend, count());
    lines_.push_back(std::move(text));
    Tell(&TapeObserver::tapeAppended);
}

void TapeList::replace(int k, std::string text) {
    if (k < 0 || k >= count()) return;
    std::string& line = lines_[static_cast<std::size_t>(k)];
    if (recorder_ && line != text) recorder_->lineReplaced(k, std::move(line));
    line = std::move(text);
    if (batchDepth_ > 0) {
        batchFirst_ = batchFirst_ < 0 ? k : std::min(batchFirst_, k);
        batchLast_ = std::max(batchLast_, k);
    } else {
        Tell(&TapeObserver::tapeLinesChanged, k, k);
    }
}

void TapeList::removeFirst() {
    if (lines_.empty()) return;
    Tell(&TapeObserver::tapeAboutToRemoveFirst);
    if (recorder_) recorder_->firstLineRemoved(std::move(lines_.front()));
    lines_.pop_front();
    if (selected_ >= 0) --selected_;
    if (batchFirst_ >= 0) {
        batchFirst_ = std::max(0, batchFirst_ - 1);
        batchLast_ = std::max(0, batchLast_ - 1);
    }
    Tell(&TapeObserver::tapeRemovedFirst);
}

void TapeList::clear() {
    Tell(&TapeObserver::tapeAboutToClear);
    if (recorder_) recorder_->tapeCleared(std::move(lines_));
    lines_.clear();
    selected_ = -1;
    batchFirst_ = batchLast_ = -1;
    Tell(&TapeObserver::tapeCleared);
}

void TapeList::assign(std::vector<std::string> lines) {
    Tell(&TapeObserver::tapeAboutToClear);
    if (recorder_) recorder_->tapeCleared(std::move(lines_));
    lines_.clear();
    const std::size_t keep = std::min<std::size_t>(lines.size(), kMaxLines);
    // To the recorder the new lines are appended ones.
    if (recorder_)
        for (std::size_t i = 0; i < keep; ++i) recorder_->lineAppended(static_cast<int>(i));
    lines_.assign(std::make_move_iterator(lines.end() - static_cast<std::ptrdiff_t>(keep)),
                  std::make_move_iterator(lines.end()));
    selected_ = -1;
    batchFirst_ = batchLast_ = -1;
    Tell(&TapeObserver::tapeCleared);
}

std::deque<std::string> TapeList::takeLines() {
    Tell(&TapeObserver::tapeAboutToReset);
    std::deque<std::string> out = std::move(lines_);
    lines_.clear();
    selected_ = -1;
    return out;
}

void TapeList::putLines(std::deque<std::string> lines, int selected) {
    lines_ = std::move(lines);
    selected_ = selected >= 0 && selected < count() ? selected : -1;
    Tell(&TapeObserver::tapeReset);
    Tell(&TapeObserver::tapeSelectionChanged, selected_);
}

TapeList::Batch::~Batch() {
    if (--tape_.batchDepth_ > 0 || tape_.batchFirst_ < 0) return;
    const int first = tape_.batchFirst_, last = std::min(tape_.batchLast_, tape_.count() - 1);
    tape_.batchFirst_ = tape_.batchLast_ = -1;
    if (last >= first) tape_.Tell(&TapeObserver::tapeLinesChanged, first, last);
}

void AddToTape(TapeList& tape, std::string text) {
    tape.add(std::move(text));
    tape.select(tape.count() - 1);
    if (tape.count() > TapeList::kMaxLines) tape.removeFirst();
}

void AddDirect(TapeList& tape, std::string text) {
    tape.add(std::move(text));
    if (tape.count() > TapeList::kMaxLines) tape.removeFirst();
}

}  // namespace tallyroll
