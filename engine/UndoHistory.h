#pragma once
// The undo history of one calculator window: the actions that rewrite or
// remove tape lines (clear, a saved change, opening a tape), each kept as what
// it changed, not as a copy of the tape. Undoing a step puts back the tape,
// the selection, the members, the captions and the decimals as they were
// just before the action; redoing it returns to what the undo left.
//
// Lines typed after an action belong to its step: they are appended at the
// end (and, on a full tape, push the oldest lines off the front), so its undo
// takes them away again and its redo brings them back. Every action that
// writes to the tape drops the redo steps at once; any other action that
// changes the calculation drops them when a redo finds the state changed.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/CalcState.h"
#include "tape/TapeList.h"

namespace tallyroll {

// The calculation outside the tape, as an undo puts it back.
struct UndoSnapshot {
    CalcState state;
    std::string lblResult, lblOperator, lblGrandTotal;
    bool lblMemoryVisible = false;
    int decimals = -1;
    int selected = -1;  // the tape's selected line

    // Everything but the selection, which moving around the tape changes.
    bool SameCalculation(const UndoSnapshot& other) const;
};

class UndoHistory : public TapeRecorder {
  public:
    static constexpr std::size_t kMaxSteps = 50;
    // Beyond this the oldest steps go, however few there are (the newest stays).
    static constexpr std::size_t kMaxBytes = 10u << 20;
    // A saved change that rewrote more lines than this keeps only what a
    // recalculation cannot give back; fewer are kept as they are.
    static constexpr std::size_t kFewLines = 64;

    explicit UndoHistory(TapeList& tape);
    ~UndoHistory() override;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // An action under way: the tape changes reported between Begin and End
    // make one step. End drops a step that changed nothing. An action run
    // inside another one (a clear inside opening a tape) is part of its step.
    void Begin(std::string name, UndoSnapshot before);
    void End(const UndoSnapshot& after);

    // Put the tape back and exchange `live` with the state kept in the step.
    // False when there is nothing to undo or redo.
    bool Undo(UndoSnapshot& live);
    bool Redo(UndoSnapshot& live);

    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }
    // The name of the step the next undo or redo would take, "" for none.
    std::string undoName() const { return undo_.empty() ? "" : undo_.back().name; }
    std::string redoName() const { return redo_.empty() ? "" : redo_.back().name; }
    // What the history holds, in bytes (strings with their buffers, tables).
    std::size_t bytes() const;

    // Called after every change of what can be undone or redone.
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // TapeRecorder.
    void tapeCleared(std::deque<std::string>&& lines) override;
    void lineReplaced(int k, std::string&& oldText) override;
    void lineAppended(int countBefore) override;
    void firstLineRemoved(std::string&& text) override;

  private:
    // Lines appended after the step's own changes (by the action itself, or
    // typed later) and the step's lines the tape's limit pushed off its front.
    struct Tail {
        bool started = false;
        int base = 0;   // lines from before the tail still on the tape
        int added = 0;  // lines of the tail still on the tape
        std::vector<std::string> trimmed;
        std::vector<std::string> appended;  // taken off by an undo, for the redo
    };
    using Lines = std::vector<std::pair<int, std::string>>;
    struct Step {
        std::string name;
        UndoSnapshot other;  // the state on the side not live
        bool cleared = false;
        std::deque<std::string> clearedLines;  // swapped with the tape
        Lines replaced;                        // swapped line by line
        // A saved change kept short: the changed lines that are not totals
        // (swapped), the tape then recalculated with `format`, and the few
        // lines a recalculation does not give back as they were before.
        bool recalculated = false;
        Lines seeds, exceptions;
        std::string format;
        Tail tail;
    };

    Step* Recording();  // the step tape changes go to, or null
    void Forget();      // a change no step can take back: nothing stays undoable
    void DropRedo();
    void Trim();
    void Changed();
    // Turns the replaced lines of a saved change into seeds and exceptions
    // when a recalculation gives back both sides exactly.
    void Compact(Step& step) const;
    static void Recalculate(std::deque<std::string>& lines, const std::string& format);
    static void UndoTail(Tail& tail, std::deque<std::string>& lines);
    static void RedoTail(Tail& tail, std::deque<std::string>& lines);
    static std::size_t StepBytes(const Step& step);

    TapeList& tape_;
    std::deque<Step> undo_, redo_;
    Step pending_;
    bool recording_ = false, broken_ = false;
    int depth_ = 0;
    bool restoredValid_ = false;
    UndoSnapshot restored_;  // what the last undo or redo made live
    std::function<void()> listener_;
};

}  // namespace tallyroll
