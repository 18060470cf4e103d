#pragma once
// What holds after every handler of the calculator, whatever was typed or
// clicked before. The tests and the fuzz targets check it after every step.

#include <string>
#include <string_view>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "tape/TapeList.h"
#include "window/SessionLog.h"

namespace tallyroll {

struct InvariantOptions {
    // The type box held text of the user's own, not one of its entries: a
    // line saved with it is "<type> <number>" and need not look like an
    // engine line.
    bool userTypes = false;
    // The recalculation checks recalculate a copy of the tape twice; tapes
    // longer than this skip them so that long-tape tests stay linear.
    int recalcLineLimit = 4096;
    // False when the caller checks the grammar of the lines it knows changed
    // (the fuzz session follows the tape's change notices).
    bool everyLine = true;
};

// "" when every invariant holds, else a description of the first violation.
std::string CheckInvariants(const Calculator& calc, const HeadlessView& view,
                            const InvariantOptions& options = {});

// The pieces CheckInvariants is made of; each answers "" or the violation.

// "inf" or "nan" in any case, or a digit followed by an exponent ("1e5", "2.E-3").
bool HasForbiddenText(std::string_view text);

// A number as the display format writes it: optional "-", whole digits without
// leading zeros, ".", 0 to 6 decimals; at most 15 significant digits followed
// by zeros; no "-" on a value that is all zeros.
bool IsFormattedNumber(std::string_view text);
// The plain general form: like the above without the "." of whole numbers and
// without trailing zeros in the decimals.
bool IsGeneralNumber(std::string_view text);

// One tape line against the line grammar. Lines the change panel writes with
// the type "1/x" (or "1", when such a line is opened again) are accepted.
std::string CheckTapeLine(std::string_view line, bool userTypes = false);
// ".", "-.", "0", digits around one "." as typed, or the general form.
std::string CheckDisplay(std::string_view display);
// The display shows the entry: read back it gives dblEntry, or it is dblEntry
// written with one of the patterns (the decimals may have changed since).
std::string CheckDisplayShowsEntry(std::string_view display, double entry);
std::string CheckState(const CalcState& state);
std::string CheckCaptions(const Captions& captions, const CalcState& state);
std::string CheckTape(const TapeList& tape, bool userTypes = false);
// Recalculating never changes the number of lines, writes only grammar lines
// and clean numbers, and a second pass over its result changes nothing.
std::string CheckRecalculation(const TapeList& tape, const std::string& pattern);
// Message boxes: the two titles, no "inf", "nan" or exponent in any text.
std::string CheckMessages(const SessionLog& log);

}  // namespace tallyroll
