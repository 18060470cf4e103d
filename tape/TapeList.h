#pragma once
// The tape's own storage: lines oldest first, at most one selected. Views
// observe it; they never hold a copy.

#include <deque>
#include <string>
#include <vector>

namespace tallyroll {

// Told about every change, before and after, so a list model can follow.
class TapeObserver {
  public:
    virtual ~TapeObserver() = default;
    virtual void tapeAboutToAppend(int /*row*/) {}
    virtual void tapeAppended() {}
    virtual void tapeAboutToRemoveFirst() {}
    virtual void tapeRemovedFirst() {}
    virtual void tapeAboutToClear() {}
    virtual void tapeCleared() {}
    virtual void tapeLinesChanged(int /*first*/, int /*last*/) {}
    virtual void tapeSelectionChanged(int /*row*/) {}
    // Every line may have changed (an undo or redo put lines back).
    virtual void tapeAboutToReset() {}
    virtual void tapeReset() {}
};

// Told what each change takes off the tape, so that it can be put back: the
// lines a clear removes, the old text of a replaced line (only when the text
// changes), the oldest line when it is trimmed, and each append.
class TapeRecorder {
  public:
    virtual ~TapeRecorder() = default;
    virtual void tapeCleared(std::deque<std::string>&& lines) = 0;
    virtual void lineReplaced(int k, std::string&& oldText) = 0;
    virtual void lineAppended(int countBefore) = 0;
    virtual void firstLineRemoved(std::string&& text) = 0;
};

class TapeList {
  public:
    static constexpr int kMaxLines = 32766;

    void setObserver(TapeObserver* observer) { observer_ = observer; }
    // A second observer, told after the first (the journal of the tape).
    void setWatcher(TapeObserver* watcher) { watcher_ = watcher; }
    void setRecorder(TapeRecorder* recorder) { recorder_ = recorder; }

    int count() const { return static_cast<int>(lines_.size()); }
    bool empty() const { return lines_.empty(); }
    // Line k, or the empty text for a position that does not exist.
    const std::string& line(int k) const;
    const std::string& last() const { return line(count() - 1); }
    int selected() const { return selected_; }

    void select(int k);  // -1, or a row that exists
    void add(std::string text);
    void replace(int k, std::string text);  // the selection does not move
    void removeFirst();
    void clear();
    // Replaces every line at once (the newest kMaxLines when there are more)
    // and selects none; observers see it as a clear.
    void assign(std::vector<std::string> lines);
    std::vector<std::string> lines() const { return {lines_.begin(), lines_.end()}; }

    // Takes every line out and puts lines back, telling neither the recorder
    // nor anyone of a change but the observer's reset: what an undo uses to
    // edit the lines in place without copying them.
    std::deque<std::string> takeLines();
    void putLines(std::deque<std::string> lines, int selected);

    // Holds back line-change notices until it ends, then sends one for the
    // whole range touched: a recalculation redraws the view once.
    class Batch {
      public:
        explicit Batch(TapeList& tape) : tape_(tape) { ++tape_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        TapeList& tape_;
    };

  private:
    template <typename... Params, typename... Args>
    void Tell(void (TapeObserver::*notice)(Params...), Args... args) {
        if (observer_) (observer_->*notice)(args...);
        if (watcher_) (watcher_->*notice)(args...);
    }

    std::deque<std::string> lines_;
    int selected_ = -1;
    TapeObserver* observer_ = nullptr;
    TapeObserver* watcher_ = nullptr;
    TapeRecorder* recorder_ = nullptr;
    int batchDepth_ = 0;
    int batchFirst_ = -1, batchLast_ = -1;
};

// AddToTape: append, select the new line, and keep at most kMaxLines lines by
// removing the oldest.
void AddToTape(TapeList& tape, std::string text);

// Lines the engine adds without selecting them (grand total line, the
// negative-entry block). They are trimmed the same way, so the tape never
// holds more than kMaxLines lines.
void AddDirect(TapeList& tape, std::string text);

}  // namespace tallyroll
