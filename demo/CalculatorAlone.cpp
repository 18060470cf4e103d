#include "demo/CalculatorAlone.h"

#include <QPointer>
#include <string_view>

#include "demo/Forms.h"
#include "window/commands/TapeFiles.h"

namespace tallyroll {

int RunCalculatorAlone(Forms& forms, const QString& tapeFile) {
    QPointer<FrmCalculator> calc = &forms.calculator();
    calc->SetStartValue(0);
    if (calc && !tapeFile.isEmpty()) OpenTapeFileSoon(*calc, tapeFile);
    if (calc && !forms.ended()) calc->ShowModal(nullptr);
    // "S" only hides the window; the close box has unloaded it already.
    if (FrmCalculator* loaded = forms.loadedCalculator()) loaded->Unload();
    return 0;
}

}  // namespace tallyroll
