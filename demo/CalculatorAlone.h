#pragma once
// `tallyroll --calculator`: the calculator window on its own, without the
// Demo window. The title window still comes first on every fifth day.

namespace tallyroll {

class Forms;

// Shows a fresh calculator (start value 0) and returns once it is closed,
// by its close box or "S"; the program then ends. "E&xit" ends it as always.
int RunCalculatorAlone(Forms& forms);

}  // namespace tallyroll
