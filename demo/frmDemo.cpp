#include "demo/frmDemo.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <utility>

#include "demo/Forms.h"
#include "demo/Layout.h"
#include "engine/NumberText.h"
#include "window/access/Accessibility.h"
#include "window/commands/TapeFiles.h"

namespace tallyroll {

namespace {

// The host's value as a start value. A value beyond the currency range (a
// saved result above about 9.2e14) starts the calculator at 0.
Currency StartValueOf(const QString& caption) {
    const ReadResult r = ReadNumber(caption.toStdString());
    return r.overflow ? 0 : CurrencyFromDouble(r.value).value_or(0);
}

}  // namespace

frmDemo::frmDemo(Forms& forms)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      forms_(forms),
      lblValue_(new QLabel(this)),
      cmdCalc_(new QPushButton(QStringLiteral("Calculator"), this)) {
    setObjectName(QStringLiteral("frmDemo"));
    setWindowTitle(QStringLiteral("Demo"));
    const Twips t = Twips::Of(*this);
    // Fixed dialog border: the inner area placed and sized by the definition.
    setGeometry(t.rect(3195, 2925, 4530, 1200));
    setFixedSize(size());
    setProperty("BackColor", QStringLiteral("button face"));

    lblValue_->setObjectName(QStringLiteral("lblValue"));
    lblValue_->setGeometry(t.rect(330, 405, 2160, 345));
    lblValue_->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblValue_->setLineWidth(1);
    lblValue_->setAutoFillBackground(true);
    QPalette pal = lblValue_->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));  // the system window colour
    lblValue_->setPalette(pal);
    DescribeControl(*lblValue_, 0, "window", "button text");

    cmdCalc_->setObjectName(QStringLiteral("cmdCalc"));
    cmdCalc_->setGeometry(t.rect(2625, 390, 1470, 345));
    // Enter presses the button while it has the focus, as space does.
    cmdCalc_->setAutoDefault(true);
    DescribeControl(*cmdCalc_, 1, "button face", "button text");
    cmdCalc_->setFocus();
    connect(cmdCalc_, &QPushButton::clicked, this, &frmDemo::cmdCalc_Click);
    MakeAccessible(*this);
}

void frmDemo::cmdCalc_Click() {
    // The shared calculator, held for the whole visit. A close box unloads
    // and releases it while it is shown; the QPointer notices its deletion.
    QPointer<FrmCalculator> calc = &forms_.calculator();
    calc->SetStartValue(StartValueOf(lblValue_->text()));
    // A tape to open goes in once the window is shown and activated.
    if (calc && !tapeToOpen_.isEmpty()) OpenTapeFileSoon(*calc, std::exchange(tapeToOpen_, {}));
    if (calc) calc->ShowModal(this);
    // "E&xit" ended the program: nothing of this visit goes on.
    if (forms_.ended()) return;

    // A window unloaded by its close box is no longer the shared instance and
    // carries no acceptance mark.
    if (calc && forms_.loadedCalculator() == calc && calc->accepted()) {
        const double result = ReadNumber(calc->result().toStdString()).value;
        lblValue_->setText(QString::fromStdString(FormatGeneral(result)));
    }
    calc.clear();
    // Only a calculator still loaded is unloaded: asking for the shared
    // instance here would load a new, hidden one.
    if (FrmCalculator* loaded = forms_.loadedCalculator()) loaded->Unload();
}

void frmDemo::OpenCalculatorWithTape(const QString& path) {
    tapeToOpen_ = path;
    cmdCalc_Click();
}

void frmDemo::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) Form_Unload();
}

void frmDemo::Form_Unload() {
    forms_.DemoUnloaded(*this);
}

}  // namespace tallyroll
