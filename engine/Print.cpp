// Printing the tape. (The print run proper arrives with the print layout.)
#include "engine/Calculator.h"

namespace tallyroll {

void Calculator::cmdPrint_Click() {
    ParkFocus();
    view_.beep();
}

}  // namespace tallyroll
