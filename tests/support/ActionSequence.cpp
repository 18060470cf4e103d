#include "tests/support/ActionSequence.h"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tape/Printer.h"
#include "tape/TapeLine.h"
#include "tests/support/FaultPrinter.h"
#include "tests/support/Invariants.h"
#include "window/KeyTable.h"
#include "window/SessionLog.h"

namespace tallyroll {

namespace {

class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
    bool empty() const { return pos_ >= data_.size(); }
    std::uint8_t next() { return empty() ? 0 : data_[pos_++]; }
    std::uint64_t wide(int count) {
        std::uint64_t v = 0;
        for (int i = 0; i < count; ++i) v = v << 8 | next();
        return v;
    }
    // A length byte, then that many bytes (at most 40): any text at all.
    std::string text() {
        const int length = next() % 41;
        std::string s;
        for (int i = 0; i < length && !empty(); ++i) s.push_back(static_cast<char>(next()));
        return s;
    }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// The recalculation checks run after every action that changes a tape of up
// to this many lines; longer tapes are recalculated at the end of the session.
constexpr int kRecalcEveryActionUpTo = 40;

// The headless window, also noting which tape rows changed: the checks after
// an action then read only those rows, not the whole tape.
class WatchedView : public HeadlessView {
  public:
    using HeadlessView::HeadlessView;

    static constexpr int kNone = std::numeric_limits<int>::max();
    int changedFrom = kNone;  // first row that may differ since the last reset
    bool touched = false;     // any change at all, also one that rewrote a line alike

    void reset() {
        changedFrom = kNone;
        touched = false;
    }

    void tapeAboutToAppend(int row) override {
        HeadlessView::tapeAboutToAppend(row);
        mark(row);
    }
    void tapeRemovedFirst() override {
        HeadlessView::tapeRemovedFirst();
        touched = true;
        if (changedFrom != kNone && changedFrom > 0) --changedFrom;  // the rows moved up
    }
    void tapeCleared() override {
        HeadlessView::tapeCleared();
        mark(0);
    }
    void tapeLinesChanged(int first, int last) override {
        HeadlessView::tapeLinesChanged(first, last);
        mark(first);
    }

  private:
    void mark(int row) {
        touched = true;
        changedFrom = std::min(changedFrom, row);
    }
};

// One calculator window, from the host's click on "Calculator" to its unload.
struct Visit {
    SessionLog log;
    WatchedView view{&log};
    Calculator calc{view};
};

bool IsEngineLine(std::string_view line) {
    const auto c = FirstChar(line);
    return c == "*" || c == "G" || c == "=" || c == "+" || c == "x" || c == "/" || c == kMinus;
}

std::vector<std::string> Lines(const TapeList& tape) {
    std::vector<std::string> lines;
    for (int i = 0; i < tape.count(); ++i) lines.push_back(tape.line(i));
    return lines;
}

bool SameState(const CalcState& a, const CalcState& b) {
    return a.dblTotal == b.dblTotal && a.dblOperand == b.dblOperand &&
           a.dblLastOperand == b.dblLastOperand && a.dblMemory == b.dblMemory &&
           a.bDecimalEntered == b.bDecimalEntered && a.bytNumberCount == b.bytNumberCount &&
           a.strLastInput == b.strLastInput && a.strOperator == b.strOperator &&
           a.bNegative == b.bNegative && a.bTotalShown == b.bTotalShown &&
           a.bCancelPressed == b.bCancelPressed && a.dblGrandTotal == b.dblGrandTotal &&
           a.lngDepositNumber == b.lngDepositNumber && a.strFormat == b.strFormat &&
           a.dblEntry == b.dblEntry;
}

// Text for a script comment: printable ASCII kept, everything else escaped.
std::string Escaped(std::string_view s) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        if (c >= 32 && c < 127 && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

std::string CurrencyText(Currency c) {
    const bool negative = c < 0;
    const auto magnitude =
        negative ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
    std::string frac = std::to_string(magnitude % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + frac;
}

class Session {
  public:
    explicit Session(bool tracing) : tracing_(tracing) { openVisit(); }

    Visit& visit() { return *visit_; }
    Calculator& calc() { return visit_->calc; }
    WatchedView& view() { return visit_->view; }
    bool ended() const { return visit_->view.ended; }
    const std::string& trace() const { return trace_; }

    void note(const std::string& line) {
        if (tracing_) trace_ += line + "\n";
    }

    // A typed character goes where the keyboard focus is, as in the window.
    void key(std::int16_t code) {
        note(code == 13   ? "key Enter"
             : code == 27 ? "key Escape"
             : code == 8  ? "key Backspace"
             : code == 32 ? "key Space"
                          : "keys " + std::string(1, static_cast<char>(code)));
        HeadlessView& v = view();
        if (v.focus == "picSetFocus" || v.focus == "lstTape") {
            CheckKeyPress(calc(), code);
        } else if (code == 27 && v.focus == "txtChangeTo" && v.panelVisible) {
            calc().cmdCancelChange_Click();  // Escape in the change panel is its "Cancel"
        } else if (v.focus == "txtChangeTo") {
            const std::int16_t typed = code;
            if (typed == 13) saveRan_ = true;
            calc().txtChangeTo_KeyPress(code);
            if (code == 8)
                v.backspaceInChangeTo();
            else if (code >= 32)
                v.typeIntoChangeTo(std::string(1, static_cast<char>(code)));
        } else if (code == ' ' && focusedButton_) {
            const auto again = focusedButton_;  // the click replaces focusedButton_
            again();                            // a focused button takes the space bar as a click
        }
    }

    // A mouse click on a button: it takes the focus, then its handler runs.
    void click(const std::string& name, bool onPanel, std::function<void()> handler) {
        note("click " + name);
        if ((onPanel && !view().panelVisible) || !view().enabled) return;
        view().focus = name;
        if (name == "cmdSaveChange") saveRan_ = true;
        focusedButton_ = [this, name, onPanel, handler] { click(name, onPanel, handler); };
        handler();
    }

    void select(Bytes& in, bool dbl) {
        const int count = calc().tape().count();
        const int line =
            static_cast<int>(in.wide(2) % static_cast<unsigned>(count > 0 ? count : 1));
        note((dbl ? "dblclick " : "select ") + std::to_string(line));
        if (count == 0) return;
        view().focus = "lstTape";
        calc().selectTapeLine(line);
        calc().lstTape_Click();
        if (!dbl) return;
        view().focus = "lstTape";  // the double click itself gives the list the focus
        calc().lstTape_DblClick();
    }

    void setPrinter(PrinterMode mode) {
        static const char* kinds[] = {"none", "working", "failing from operation ",
                                      "failing at operation "};
        note(std::string("# printer ") + kinds[mode.kind] +
             (mode.kind >= PrinterMode::FailFrom ? std::to_string(mode.at) : ""));
        printer_ = mode;
    }

    void enableUserTypes() { userTypes_ = true; }

    // The close box unloads the window; the host opens a new one later.
    void closeBox() {
        note("close");
        openVisit();
    }

    // One action and every check that must hold after it.
    std::string run(const std::function<void()>& action) {
        const int countBefore = calc().tape().count();
        const CalcState stateBefore = calc().state();
        record_ = {};
        printerOpened_ = false;
        saveRan_ = false;
        view().reset();
        Visit* const visitBefore = visit_.get();

        action();
        if (visit_.get() != visitBefore) return check();

        Visit& v = visit();
        std::string why = check();
        if (why.empty()) why = CheckMessages(v.log);
        if (why.empty() && saveRan_ && v.calc.tape().count() != countBefore)
            why = "saving a change changed the number of tape lines";
        if (why.empty() && v.log.beeps > 0) why = checkPrintRun(stateBefore);
        v.log.messages.clear();
        v.log.inputs.clear();
        v.log.beeps = 0;
        if (why.empty() && v.view.hidden) afterSave();
        return why;
    }

    // The invariants. The session checks the grammar of the rows that changed
    // (and that no action but a save writes a line the engine would not);
    // the recalculation checks run when the tape or the pattern changed and
    // the tape is short enough for them to run after every action.
    std::string check() {
        const TapeList& tape = calc().tape();
        WatchedView& v = view();
        for (int row = std::min(v.changedFrom, tape.count()); row < tape.count(); ++row) {
            const std::string& line = tape.line(row);
            if (auto why = CheckTapeLine(line, userTypes_); !why.empty())
                return "line " + std::to_string(row) + ": " + why;
            if (!saveRan_ && !IsEngineLine(line))
                return "line " + std::to_string(row) + " appeared without a save: \"" + line + "\"";
        }
        InvariantOptions o;
        o.userTypes = userTypes_;
        o.everyLine = false;
        o.recalcLineLimit = kRecalcEveryActionUpTo;
        const std::string& pattern = calc().state().strFormat;
        if (!v.touched && pattern == lastPattern_) o.recalcLineLimit = -1;
        lastPattern_ = pattern;
        return CheckInvariants(calc(), v, o);
    }

    // The whole tape again, every line and the recalculation at any length.
    std::string fullCheck() {
        InvariantOptions o;
        o.userTypes = userTypes_;
        o.recalcLineLimit = TapeList::kMaxLines;
        return CheckInvariants(calc(), view(), o);
    }

    void queueAnswer(std::optional<std::string> answer) {
        note(answer ? "answer " + Escaped(*answer) : "answer-cancel");
        visit().log.answers.push_back(std::move(answer));
    }

  private:
    void openVisit() {
        visit_ = std::make_unique<Visit>();
        visit_->view.clock = {2026, 12, 7, 21, 16};
        visit_->view.printerFactory = [this]() -> std::unique_ptr<Printer> {
            printerOpened_ = true;
            if (printer_.kind == PrinterMode::None) return nullptr;
            return std::make_unique<FaultPrinter>(printer_, record_);
        };
        const ReadResult host = ReadNumber(hostValue_);
        calc().SetStartValue(host.overflow ? 0 : CurrencyFromDouble(host.value).value_or(0));
        calc().Form_Activate();
        focusedButton_ = nullptr;
    }

    // Printing reads the tape and changes nothing; the window is usable after.
    std::string checkPrintRun(const CalcState& stateBefore) {
        const Calculator& c = calc();
        if (view().touched) return "printing changed the tape";
        if (!SameState(c.state(), stateBefore)) return "printing changed the calculation";
        if (view().focus != "picSetFocus") return "printing left the focus on " + view().focus;
        if (printerOpened_ && printer_.kind == PrinterMode::Working) {
            // Every tape line is printed once, in order, after the header.
            std::vector<std::string> lines;
            for (const std::string& text : record_.printed)
                if (!text.empty() && !BeginsWith(text, "Calculator Tape (Printed: "))
                    lines.push_back(text);
            if (lines != Lines(c.tape())) return "the printed lines differ from the tape";
        }
        return "";
    }

    // "S" hid the window. The host either reads the result and unloads the
    // window (the next visit starts from that value), or shows it again.
    void afterSave() {
        if (calc().captions().cmdSaveTag == "OK" && saveChoice_++ % 2 == 0) {
            note("# the host reads the result and opens a new calculator");
            const ReadResult result = ReadNumber(calc().captions().lblResult);
            if (!result.overflow) hostValue_ = FormatGeneral(result.value);
            openVisit();
        } else {
            note("# the host shows the calculator again");
            view().hidden = false;
            calc().Form_Activate();
        }
    }

    bool tracing_;
    std::string trace_;
    std::unique_ptr<Visit> visit_;
    std::string hostValue_;  // the caption of the host's lblValue
    PrinterMode printer_;
    PrintRecord record_;
    bool printerOpened_ = false;
    bool saveRan_ = false;
    bool userTypes_ = false;
    std::string lastPattern_;
    unsigned saveChoice_ = 0;
    std::function<void()> focusedButton_;
};

struct Action {
    std::function<void(Session&, Bytes&)> run;
};

using C = Calculator;

// Every key of the key table and the digits, every button, and the actions
// on the lists, the tape, the change panel, the host and the printer.
const std::vector<Action>& Actions() {
    static const std::vector<Action> actions = [] {
        std::vector<Action> a;
        for (std::int16_t d = '0'; d <= '9'; ++d)
            a.push_back({[d](Session& s, Bytes&) { s.key(d); }});
        for (const KeyBinding& k : KeyTable())
            a.push_back({[code = k.code](Session& s, Bytes&) { s.key(code); }});
        a.push_back({[](Session& s, Bytes&) { s.key(' '); }});

        struct Array {
            const char* name;
            int count;
            void (C::*handler)(std::int16_t);
        };
        for (const Array& arr : {Array{"cmdNumber", 10, &C::cmdNumber_Click},
                                 Array{"cmdOperator", 5, &C::cmdOperator_Click},
                                 Array{"cmdFunction", 3, &C::cmdFunction_Click},
                                 Array{"cmdMemory", 4, &C::cmdMemory_Click}}) {
            for (int i = 0; i < arr.count; ++i) {
                const std::string name = std::string(arr.name) + "(" + std::to_string(i) + ")";
                a.push_back({[name, h = arr.handler, i](Session& s, Bytes&) {
                    s.click(name, false,
                            [&s, h, i] { (s.calc().*h)(static_cast<std::int16_t>(i)); });
                }});
            }
        }
        struct Button {
            const char* name;
            void (C::*handler)();
            bool onPanel;
        };
        for (const Button& b : {Button{"cmdDecimal", &C::cmdDecimal_Click, false},
                                Button{"cmdBackspace", &C::cmdBackspace_Click, false},
                                Button{"cmdNegitive", &C::cmdNegitive_Click, false},
                                Button{"cmdCancelEntry", &C::cmdCancelEntry_Click, false},
                                Button{"cmdCancel", &C::cmdCancel_Click, false},
                                Button{"cmdGrandTotal", &C::cmdGrandTotal_Click, false},
                                Button{"cmdClear", &C::cmdClear_Click, false},
                                Button{"cmdPrint", &C::cmdPrint_Click, false},
                                Button{"cmdClose", &C::cmdClose_Click, false},
                                Button{"cmdSaveChange", &C::cmdSaveChange_Click, true},
                                Button{"cmdCancelChange", &C::cmdCancelChange_Click, true}}) {
            a.push_back({[b](Session& s, Bytes&) {
                s.click(b.name, b.onPanel, [&s, h = b.handler] { (s.calc().*h)(); });
            }});
        }

        a.push_back({[](Session& s, Bytes& in) {
            const int entry = in.next() % 7;
            s.note("choose cboDecPlace " + std::to_string(entry));
            s.view().setDecimalSelection(entry);
            s.calc().cboDecPlace_Click(entry);
        }});
        a.push_back({[](Session& s, Bytes& in) {
            const auto value = static_cast<Currency>(in.wide(8));
            s.note("start " + CurrencyText(value));
            s.calc().SetStartValue(value);
        }});
        a.push_back({[](Session& s, Bytes& in) {
            const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(in.wide(4)));
            s.note("deposit " + std::to_string(value));
            s.calc().DepositNumber(value);
        }});
        a.push_back({[](Session& s, Bytes&) {
            s.note("# the window is activated again");
            s.calc().Form_Activate();
        }});
        a.push_back({[](Session& s, Bytes& in) { s.select(in, false); }});
        a.push_back({[](Session& s, Bytes& in) { s.select(in, true); }});
        a.push_back({[](Session& s, Bytes& in) {
            static const char* entries[] = {"+", "-", "/", "x", "1/x"};
            const int entry = in.next() % 5;
            s.note("choose cboType " + std::to_string(entry));
            if (!s.view().panelVisible) return;
            s.view().setChangeType(entries[entry]);
            // The closed list hands the focus back to the new-number box, its
            // text no longer selected.
            s.view().changeToAllSelected = false;
            s.view().focus = "txtChangeTo";
        }});
        a.push_back({[](Session& s, Bytes& in) {
            const std::string text = in.text();
            s.note("# txtChangeTo := " + Escaped(text));
            s.view().setChangeTo(text);
        }});
        a.push_back({[](Session& s, Bytes& in) {
            const std::string text = in.text();
            s.note("# cboType := " + Escaped(text));
            if (!s.view().panelVisible) return;
            s.enableUserTypes();
            s.view().setChangeType(text);
        }});
        a.push_back({[](Session& s, Bytes& in) {
            const auto kind = static_cast<PrinterMode::Kind>(in.next() % 4);
            s.setPrinter({kind, in.next() % 64});
        }});
        a.push_back({[](Session& s, Bytes& in) {
            if (in.next() % 2) {
                s.queueAnswer(in.text());
            } else {
                s.queueAnswer(std::nullopt);
            }
        }});
        a.push_back({[](Session& s, Bytes&) { s.closeBox(); }});
        return a;
    }();
    return actions;
}

// The byte that repeats the action after it (2 to 33 times), so that long
// tapes and long numbers are cheap to describe.
constexpr std::uint8_t kRepeat = 255;

}  // namespace

SequenceOutcome RunActionSequence(std::span<const std::uint8_t> bytes, bool trace) {
    SequenceOutcome out;
    Session session(trace);
    Bytes in(bytes);
    const auto& actions = Actions();
    out.failure = session.check();
    while (out.failure.empty() && !in.empty() && !session.ended()) {
        std::uint8_t choice = in.next();
        int times = 1;
        if (choice == kRepeat) {
            times = 2 + in.next() % 32;
            choice = in.next();
        }
        const Action& action = actions[choice % actions.size()];
        for (int t = 0; t < times && out.failure.empty() && !session.ended(); ++t) {
            ++out.actions;
            out.failure = session.run([&] { action.run(session, in); });
            if (!out.failure.empty())
                out.failure = "action " + std::to_string(out.actions) + ": " + out.failure;
        }
    }
    // The host's part of the last action (a new visit, a new activation) is
    // checked too, and the whole tape once more.
    if (out.failure.empty()) out.failure = session.fullCheck();
    out.ended = session.ended();
    out.trace = session.trace();
    return out;
}

}  // namespace tallyroll
