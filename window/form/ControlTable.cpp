#include "window/form/ControlTable.h"

namespace tallyroll {

namespace {

using K = ControlKind;

constexpr const char* kForm = nullptr;
constexpr const char* kPanel = "fraChangeTape";

constexpr const char* kSans = "MS Sans Serif";
constexpr FontDef kSans8b{kSans, 8.25, true};
constexpr FontDef kSans9{kSans, 9.75, false};
constexpr FontDef kSans9b{kSans, 9.75, true};
constexpr FontDef kSans12{kSans, 12, false};
constexpr FontDef kSans12b{kSans, 12, true};
constexpr FontDef kSans13{kSans, 13.5, false};
constexpr FontDef kSans15{kSans, 15, false};
constexpr FontDef kSans18{kSans, 18, false};

constexpr Colour kMint = Rgb(234, 255, 238);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kSilver = Rgb(192, 192, 192);
constexpr Colour kDarkRed = Rgb(192, 0, 0);
constexpr Colour kWindow{SystemColour::Window};
constexpr Colour kWindowText{SystemColour::WindowText};
constexpr Colour kActiveTitle{SystemColour::ActiveTitleBar};
constexpr Colour kDarkShadow{SystemColour::DarkShadow3D};
constexpr Colour kDefault{};

constexpr const char* kDecimalEntries[] = {"0 Fixed Decimal", "1 Fixed Decimal", "2 Fixed Decimal",
                                           "3 Fixed Decimal", "4 Fixed Decimal", "5 Fixed Decimal",
                                           "6 Fixed Decimal"};
constexpr const char* kTypeEntries[] = {"+", "-", "/", "x", "1/x"};

// A 1-pixel border and a 20-pixel title bar at 15 twips per pixel: a common
// desktop theme's frame, the one the outer size of 5900 x 4950 twips leaves
// room for the whole layout in (391 x 309 pixels inside at 96 dots per inch).
constexpr FrameTwips kReferenceFrame{15, 300, 15, 15};

// clang-format off
constexpr FormDef kFormDef{"frmCalculator", "Calculator", {SystemColour::InactiveTitleBar},
                           {kSans, 8.25, false}, 5790, 6690, 5900, 4950, kReferenceFrame};
// clang-format on

// clang-format off
constexpr ControlDef kControls[] = {
    // name, index, parent, kind, caption, {L, T, W, H}, tab, shown, font, back, fore, align, border, tip, items
    {"cboDecPlace", -1, kForm, K::DropList, "", {1860, 0, 1620, 315}, 47, true, {}, kMint, kBlack, Align::Default, true, nullptr, kDecimalEntries},
    {"fraChangeTape", -1, kForm, K::Frame, "", {300, 4620, 4700, 1920}, 37, false},
    {"cmdSaveChange", -1, kPanel, K::Button, "Save", {3720, 1410, 780, 330}, 44, true},
    {"cmdCancelChange", -1, kPanel, K::Button, "Cancel", {3720, 990, 780, 330}, 43, true},
    {"txtChangeTo", -1, kPanel, K::TextBox, "", {2130, 1410, 1470, 285}, 39, true, {}, kDefault, kDefault, Align::Left, true},
    {"cboType", -1, kPanel, K::Combo, "cboType", {1530, 1410, 585, 315}, 38, true, {}, kDefault, kDefault, Align::Default, true, nullptr, kTypeEntries},
    {"lblChangeTape", 2, kPanel, K::Label, "Changes here will affect the grand total ", {100, 585, 3420, 195}, 48, true, kSans8b, kDefault, kDarkRed, Align::Left},
    {"Label1", -1, kPanel, K::Label, "Change Tape", {135, 195, 2220, 270}, 45, true, {"Verdana", 11.25, false}, kDefault, kDefault, Align::Left},
    {"lblChangeTape", 0, kPanel, K::Label, " Old Number: ", {480, 1005, 975, 195}, 42, true, {}, kDefault, kDefault, Align::Right},
    {"lblChangeTape", 1, kPanel, K::Label, " New Number: ", {375, 1425, 1065, 195}, 41, true, {}, kDefault, kBlack, Align::Right},
    {"lblChangeFrom", -1, kPanel, K::Label, "", {1530, 1005, 2115, 285}, 40, true, {}, kWindow, kWindowText, Align::Left, true},
    {"cmdGrandTotal", -1, kForm, K::Button, "&Grand Total", {2460, 3465, 1020, 390}, 36, true},
    {"cmdMemory", 3, kForm, K::Button, "MC", {75, 1365, 500, 500}, 32, true, kSans9b, kDefault, kDefault, Align::Default, false, "Clear"},
    {"cmdMemory", 2, kForm, K::Button, "MR", {75, 1875, 500, 500}, 31, true, kSans9b, kDefault, kDefault, Align::Default, false, "Recall"},
    {"cmdMemory", 1, kForm, K::Button, "M-", {75, 2385, 500, 500}, 30, true, kSans9b},
    {"cmdMemory", 0, kForm, K::Button, "M+", {75, 2895, 500, 500}, 29, true, kSans9b},
    {"cmdNegitive", -1, kForm, K::Button, "+/-", {1290, 2895, 500, 500}, 28, true, kSans13},
    {"cmdClose", -1, kForm, K::Button, "E&xit", {2460, 3930, 1020, 450}, 27, true},
    {"cmdSave", -1, kForm, K::Button, "&Save Result", {2100, 3930, 195, 450}, 26, false, {"Tahoma", 8.25, false}},
    {"cmdClear", -1, kForm, K::Button, "C&lear", {4700, 3930, 780, 450}, 25, true},
    {"cmdPrint", -1, kForm, K::Button, "&Print", {3800, 3930, 780, 450}, 24, true},
    {"cmdOperator", 4, kForm, K::Button, "=", {2985, 2895, 500, 500}, 23, true, kSans18},
    {"cmdOperator", 3, kForm, K::Button, "-", {2460, 2385, 500, 500}, 22, true, kSans18},
    {"cmdOperator", 2, kForm, K::Button, "x", {2460, 1875, 500, 500}, 21, true, kSans13},
    {"cmdOperator", 1, kForm, K::Button, "+", {2460, 2895, 500, 500}, 20, true, kSans18},
    {"cmdOperator", 0, kForm, K::Button, "/", {2460, 1365, 500, 500}, 19, true, kSans13},
    {"cmdNumber", 7, kForm, K::Button, "7", {780, 1365, 500, 500}, 18, true, kSans15},
    {"cmdNumber", 8, kForm, K::Button, "8", {1290, 1365, 500, 500}, 17, true, kSans15},
    {"cmdNumber", 9, kForm, K::Button, "9", {1800, 1365, 500, 500}, 16, true, kSans15},
    {"cmdCancel", -1, kForm, K::Button, "&C", {2670, 750, 810, 500}, 15, true, kSans13},
    {"cmdCancelEntry", -1, kForm, K::Button, "C&E", {1980, 750, 645, 500}, 14, true, kSans12},
    {"cmdNumber", 4, kForm, K::Button, "4", {780, 1875, 500, 500}, 13, true, kSans15},
    {"cmdNumber", 5, kForm, K::Button, "5", {1290, 1875, 500, 500}, 12, true, kSans15},
    {"cmdNumber", 6, kForm, K::Button, "6", {1800, 1875, 500, 500}, 11, true, kSans15},
    {"cmdNumber", 1, kForm, K::Button, "1", {780, 2385, 500, 500}, 10, true, kSans15},
    {"cmdNumber", 2, kForm, K::Button, "2", {1290, 2385, 500, 500}, 9, true, kSans15},
    {"cmdNumber", 3, kForm, K::Button, "3", {1800, 2385, 500, 500}, 8, true, kSans15},
    {"cmdNumber", 0, kForm, K::Button, "0", {780, 2895, 500, 500}, 7, true, kSans15},
    {"cmdDecimal", -1, kForm, K::Button, ".", {1800, 2895, 500, 500}, 6, true, kSans15},
    {"cmdFunction", 1, kForm, K::Button, "%", {2985, 1875, 500, 500}, 5, true, kSans13},
    {"lstTape", -1, kForm, K::List, "", {3630, 60, 2060, 3825}, 4, true, kSans9, kMint, kBlack, Align::Default, true},
    {"cmdFunction", 2, kForm, K::Button, "1/x", {2985, 2385, 500, 500}, 3, true, kSans9b},
    {"cmdFunction", 0, kForm, K::Button, "Sqr", {2985, 1365, 500, 500}, 2, true, kSans8b},
    {"cmdBackspace", -1, kForm, K::Button, "Backspace", {660, 750, 1260, 500}, 1, true, kSans9},
    {"picSetFocus", -1, kForm, K::Picture, "", {3585, -200, 100, 100}, 0, true},
    {"Image1", -1, kForm, K::Image, "", {200, 3900, 480, 480}, -1, true},
    {"lblValue", -1, kForm, K::Label, "", {240, 4320, 255, 135}, 49, false},
    {"lblGrandTotal", -1, kForm, K::Label, "", {200, 3540, 1890, 240}, 46, true, kSans9, kSilver, kBlack, Align::Center},
    {"lblMemory", -1, kForm, K::Label, "M", {45, 285, 285, 405}, 35, false, kSans12, kMint, kBlack, Align::Center, true},
    {"Shape3", -1, kForm, K::Shape, "", {3585, 30, 2055, 4410}, -1, true, {}, kActiveTitle, kDarkShadow},
    {"shpButtonShadow", 0, kForm, K::Shape, "", {720, 1305, 1635, 2145}, -1, true, {}, kActiveTitle, kActiveTitle},
    {"lblResult", -1, kForm, K::Label, "0.", {660, 285, 2820, 405}, 34, true, kSans13, kWindow, kWindowText, Align::Right, true},
    {"lblOperator", -1, kForm, K::Label, "", {345, 285, 300, 405}, 33, true, kSans12b, kMint, kBlack, Align::Center, true},
};
// clang-format on

constexpr const char* kSansSubstitutes[] = {"Liberation Sans", "Arial", "DejaVu Sans"};
constexpr const char* kTahomaSubstitutes[] = {"DejaVu Sans Condensed", "Liberation Sans Narrow",
                                              "Liberation Sans"};
constexpr const char* kVerdanaSubstitutes[] = {"DejaVu Sans", "Liberation Sans"};
constexpr FontSubstitute kSubstitutes[] = {
    {"MS Sans Serif", kSansSubstitutes},
    {"Tahoma", kTahomaSubstitutes},
    {"Verdana", kVerdanaSubstitutes},
};

}  // namespace

const FormDef& CalculatorForm() {
    return kFormDef;
}
std::span<const ControlDef> CalculatorControls() {
    return kControls;
}
std::span<const FontSubstitute> FontSubstitutes() {
    return kSubstitutes;
}

}  // namespace tallyroll
