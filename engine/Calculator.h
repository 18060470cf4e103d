#pragma once
// The calculation of one calculator window: its members, the captions of its
// labels, its tape, and every handler of its keys. It talks to the window only
// through CalculatorView.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/CalcState.h"
#include "engine/CalculatorView.h"
#include "engine/NumberText.h"
#include "engine/UndoHistory.h"
#include "tape/Recalculate.h"
#include "tape/TapeList.h"

namespace tallyroll {

inline constexpr const char* kAppTitle = "Calculator";
inline constexpr const char* kModuleName = "frmCalculator";

class Calculator {
  public:
    explicit Calculator(CalculatorView& view);
    ~Calculator();
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    // Host interface.
    void SetStartValue(Currency value);
    void DepositNumber(std::int32_t value);

    // Decimal places.
    void cboDecPlace_Click(int index);

    // Number entry.
    void cmdNumber_Click(std::int16_t index);
    void cmdDecimal_Click();
    void cmdBackspace_Click();
    void cmdNegitive_Click();
    void cmdCancelEntry_Click();

    // Operators, functions, memory.
    void cmdOperator_Click(std::int16_t index);
    void cmdFunction_Click(std::int16_t index);
    void cmdMemory_Click(std::int16_t index);

    // Grand total, cancel, clear.
    void cmdGrandTotal_Click();
    void cmdCancel_Click();
    void cmdClear_Click();

    // Tape editing.
    void lstTape_Click();
    void lstTape_DblClick();
    void cmdSaveChange_Click();
    void cmdCancelChange_Click();
    void txtChangeTo_KeyPress(std::int16_t& keyAscii);
    void cboType_KeyDown(std::int16_t& keyCode, std::int16_t shift);
    void cboType_KeyPress(std::int16_t& keyAscii);

    // Printing.
    void cmdPrint_Click();
    // What Cancel in the title box does: the print key prints without a title;
    // an export stops before anything is printed.
    enum class TitleCancel { PrintsUntitled, Stops };
    struct PrintRun {
        bool cancelled = false;  // stopped at the title box, nothing printed
        std::string failure;     // "" when the tape was printed (or is empty)
    };
    // A print run on the printer `open` gives, title prompt included.
    PrintRun PrintTape(const std::function<std::unique_ptr<Printer>()>& open, TitleCancel onCancel);

    // Replaces the whole tape with `lines`, as the Clear key empties it, and
    // recalculates it as saving a correction does; the last line is selected.
    void ReplaceTape(std::vector<std::string> lines);
    // Puts back a tape its journal kept, as one undo step: the lines exactly
    // as they were, with the decimals and the grand total label that went
    // with them; the rest of the calculation follows from the lines as for
    // an opened tape file. decimals -1 leaves the decimals as they are.
    void RestoreTape(std::vector<std::string> lines, int decimals, std::string grandTotalLabel);
    // A second observer of the tape, told of every change after the window.
    void setTapeWatcher(TapeObserver* watcher) { lstTape_.setWatcher(watcher); }

    // Undo and redo of the actions that rewrite or remove tape lines; a beep
    // when there is nothing to undo or redo.
    void Undo();
    void Redo();
    UndoHistory& history() { return history_; }
    const UndoHistory& history() const { return history_; }

    // Makes what the action in its scope changes one step of the undo
    // history, under `name` ("Clear tape"): one line at the top of the action.
    class UndoScope {
      public:
        UndoScope(Calculator& calc, const char* name);
        ~UndoScope();
        UndoScope(const UndoScope&) = delete;
        UndoScope& operator=(const UndoScope&) = delete;

      private:
        Calculator& calc_;
    };

    // Leaving the window.
    void cmdSave_Click();
    void cmdClose_Click();

    // Runs the activation steps: the hidden label's value becomes the start
    // value, a saved result is written back to it, two decimals are chosen.
    void Form_Activate();

    const CalcState& state() const { return st_; }
    const Captions& captions() const { return cap_; }
    const TapeList& tape() const { return lstTape_; }
    // The window reports a selection the user made on the tape.
    void selectTapeLine(int row) { lstTape_.select(row); }
    void setValueCaption(std::string text) { cap_.lblValue = std::move(text); }
    int decimalPlaces() const { return decimalPlaces_; }
    // The system's default beep, for a key the window refuses.
    void Beep() { view_.beep(); }

    void ReportError(bool show, const std::string& number, const std::string& description,
                     const std::string& module, const std::string& function);

  private:
    std::string Formatted(double v) const { return FormatNumber(v, st_.strFormat); }
    void ShowResult(std::string text);
    void ShowOperator(std::string text);
    void ShowGrandTotal(std::string text);
    void ShowMemory(bool visible);
    void ParkFocus();
    UndoSnapshot TakeSnapshot() const;
    void ApplySnapshot(const UndoSnapshot& snapshot);

    void StartNewTotal(bool add);
    void WriteSubTotal(const std::int16_t& index, double value);
    void WriteGrandTotalBlock();
    void AddToTape(std::string text);
    // Rewrites every total from the tape's text and shows the result.
    void RecalculateAll();
    // Messages, totals and captions of a recalculation that has run.
    void ApplyRecalculation(const RecalcOutcome& out);

    CalculatorView& view_;
    CalcState st_;
    Captions cap_;
    TapeList lstTape_;
    int decimalPlaces_ = -1;  // selected entry of the decimal-places list
    UndoHistory history_{lstTape_};
};

}  // namespace tallyroll
