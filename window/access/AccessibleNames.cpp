#include "window/access/AccessibleNames.h"

#include <QVariant>
#include <QWidget>

namespace tallyroll {

namespace {

constexpr const char* kCalc = "frmCalculator";
constexpr const char* kDemo = "frmDemo";
constexpr const char* kTitle = "Form1";

// On Linux, Qt names a combo box by its current entry, as AT-SPI expects;
// their descriptions say what they are. The names of the labels listed in
// Accessibility.cpp are followed by their values ("Grand total 121.30").
constexpr AccessibleNameDef kNames[] = {
    {kCalc, nullptr, -1, "Calculator", "Adding machine with a paper tape"},
    {kCalc, "cboDecPlace", -1, "Decimal places", "Decimal places, Ctrl+0 to Ctrl+6"},
    {kCalc, "fraChangeTape", -1, "Change Tape", "Corrects the selected tape line"},
    {kCalc, "cmdSaveChange", -1, "Save change",
     "Rewrites the line and recalculates the tape, Enter"},
    {kCalc, "cmdCancelChange", -1, "Cancel change", "Leaves the tape as it is, Escape"},
    {kCalc, "txtChangeTo", -1, "New number", "The number the line gets"},
    {kCalc, "cboType", -1, "New operator", "New operator"},
    {kCalc, "lblChangeTape", 2, "Changes here will affect the grand total", "Warning"},
    {kCalc, "Label1", -1, "Change Tape", ""},
    {kCalc, "lblChangeTape", 0, "Old number:", ""},
    {kCalc, "lblChangeTape", 1, "New number:", ""},
    {kCalc, "lblChangeFrom", -1, "Old number", "The line as it stands"},
    {kCalc, "cmdGrandTotal", -1, "Grand total", "Writes the grand total on the tape, G"},
    {kCalc, "cmdMemory", 3, "Memory clear", "Empties the memory, Ctrl+L"},
    {kCalc, "cmdMemory", 2, "Memory recall", "Shows the number in the memory, Ctrl+R"},
    {kCalc, "cmdMemory", 1, "Memory subtract",
     "Subtracts the display from the memory, Ctrl+Shift+M"},
    {kCalc, "cmdMemory", 0, "Memory add", "Adds the display to the memory, Ctrl+M"},
    {kCalc, "cmdNegitive", -1, "Change sign", "F9"},
    {kCalc, "cmdClose", -1, "Exit", "Ends the program, X"},
    {kCalc, "cmdSave", -1, "Save result", "Hands the result to the host and closes, S"},
    {kCalc, "cmdClear", -1, "Clear tape", "Empties the tape and the grand total, L"},
    {kCalc, "cmdPrint", -1, "Print tape", "P or Ctrl+P"},
    {kCalc, "cmdOperator", 4, "Equals", "= or Enter"},
    {kCalc, "cmdOperator", 3, "Subtract", "-"},
    {kCalc, "cmdOperator", 2, "Multiply", "*"},
    {kCalc, "cmdOperator", 1, "Add", "+"},
    {kCalc, "cmdOperator", 0, "Divide", "/"},
    {kCalc, "cmdNumber", 7, "7", ""},
    {kCalc, "cmdNumber", 8, "8", ""},
    {kCalc, "cmdNumber", 9, "9", ""},
    {kCalc, "cmdCancel", -1, "Cancel calculation", "C or Escape; twice also the grand total"},
    {kCalc, "cmdCancelEntry", -1, "Clear entry", "E"},
    {kCalc, "cmdNumber", 4, "4", ""},
    {kCalc, "cmdNumber", 5, "5", ""},
    {kCalc, "cmdNumber", 6, "6", ""},
    {kCalc, "cmdNumber", 1, "1", ""},
    {kCalc, "cmdNumber", 2, "2", ""},
    {kCalc, "cmdNumber", 3, "3", ""},
    {kCalc, "cmdNumber", 0, "0", ""},
    {kCalc, "cmdDecimal", -1, "Decimal point", "."},
    {kCalc, "cmdFunction", 1, "Percent", "Percent of the running total, %"},
    {kCalc, "lstTape", -1, "Tape", "Up and Down select a line, F2 changes it"},
    {kCalc, "cmdFunction", 2, "Reciprocal", "Ctrl+I"},
    {kCalc, "cmdFunction", 0, "Square root", "Ctrl+T"},
    {kCalc, "cmdBackspace", -1, "Backspace", "Deletes the last digit"},
    // The focus holder's text is the display (Accessibility.cpp).
    {kCalc, "picSetFocus", -1, "Result", "Type numbers and operators; Up and Down read the tape"},
    {kCalc, "Image1", -1, "Calculator icon", ""},
    {kCalc, "lblValue", -1, "Start value", ""},
    {kCalc, "lblGrandTotal", -1, "Grand total", "The grand total so far"},
    {kCalc, "lblMemory", -1, "Memory in use", ""},
    {kCalc, "Shape3", -1, "Tape background", ""},
    {kCalc, "shpButtonShadow", 0, "Keypad background", ""},
    {kCalc, "lblResult", -1, "Result", "The number on the display"},
    {kCalc, "lblOperator", -1, "Pending operator", ""},

    {kDemo, nullptr, -1, "Demo", "Holds a value for the calculator"},
    {kDemo, "lblValue", -1, "Value", "The calculator starts with it and saves its result into it"},
    {kDemo, "cmdCalc", -1, "Calculator", "Opens the calculator with the value"},

    {kTitle, nullptr, -1, "Title", "Title picture of the calculator"},
    {kTitle, "Command2", -1, "Title", "Tab goes to the button that closes the title"},
    {kTitle, "Image1", -1, "Title picture", ""},
    {kTitle, "Command1", -1, "Close title", "Goes on to the calculator"},
};

void Apply(QWidget& w, const AccessibleNameDef& def) {
    w.setAccessibleName(QString::fromUtf8(def.name));
    if (def.description) w.setAccessibleDescription(QString::fromUtf8(def.description));
}

}  // namespace

std::span<const AccessibleNameDef> AccessibleNames() {
    return kNames;
}

void ApplyAccessibleNames(QWidget& window) {
    const QString windowName = window.objectName();
    for (const AccessibleNameDef& def : kNames) {
        if (windowName != QLatin1String(def.window)) continue;
        if (!def.control) {
            Apply(window, def);
            continue;
        }
        for (QWidget* w : window.findChildren<QWidget*>(QString::fromUtf8(def.control))) {
            const QVariant i = w->property("Index");
            if (def.index < 0 ? !i.isValid() : (i.isValid() && i.toInt() == def.index))
                Apply(*w, def);
        }
    }
}

}  // namespace tallyroll
