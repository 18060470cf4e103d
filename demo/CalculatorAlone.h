#pragma once
// `tallyroll --calculator`: the calculator window on its own, without the
// Demo window. The title window still comes first on every fifth day.

#include <QString>

namespace tallyroll {

class Forms;

// Shows a fresh calculator (start value 0) and returns once it is closed,
// by its close box or "S"; the program then ends. "E&xit" ends it as always.
// A tape file, when given, is opened once the calculator is up, as the Demo
// window opens one (a file that cannot be opened is refused with a message).
int RunCalculatorAlone(Forms& forms, const QString& tapeFile = {});

}  // namespace tallyroll
