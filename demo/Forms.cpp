#include "demo/Forms.h"

#include <QCoreApplication>
#include <initializer_list>

#include "demo/Form1.h"
#include "demo/frmDemo.h"

namespace tallyroll {

Forms::Forms(CalculatorHooks hooks) : hooks_(std::move(hooks)) {
    // One zoom level for every calculator window of the run.
    if (!hooks_.zoomLevel) hooks_.zoomLevel = std::make_shared<int>(0);
}

Forms::~Forms() {
    calculator_.reset();
    title_.reset();
    demo_.reset();
    // Windows released earlier are waiting for deleteLater.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename Window>
void Forms::Release(std::unique_ptr<Window>& slot, const QObject* window) {
    if (slot.get() == window) slot.release()->deleteLater();
}

frmDemo& Forms::demo() {
    if (!demo_) demo_ = std::make_unique<frmDemo>(*this);
    return *demo_;
}

Form1& Forms::title() {
    if (!title_)
        title_ = std::make_unique<Form1>([this](Form1& window) { Release(title_, &window); });
    return *title_;
}

FrmCalculator& Forms::calculator() {
    // Its unload tells the release a moment later; it is gone already.
    if (calculator_ && calculator_->isUnloaded()) Release(calculator_, calculator_.get());
    if (!calculator_) {
        CalculatorHooks hooks = hooks_;
        hooks.showTitle = [this] { ShowTitle(); };
        hooks.endProgram = [this] { EndProgram(); };
        calculator_ = std::make_unique<FrmCalculator>(std::move(hooks));
        FrmCalculator* window = calculator_.get();
        QObject::connect(window, &FrmCalculator::unloaded, window,
                         [this, window] { Release(calculator_, window); });
    }
    return *calculator_;
}

void Forms::DemoUnloaded(const frmDemo& window) {
    Release(demo_, &window);
}

void Forms::ShowTitle() {
    title().showModal();
}

void Forms::EndProgram() {
    ended_ = true;
    // Hidden, not closed: closing would run the unload handlers.
    for (QWidget* w : std::initializer_list<QWidget*>{title_.get(), calculator_.get(), demo_.get()})
        if (w) w->hide();
    if (hooks_.endProgram)
        hooks_.endProgram();
    else
        QCoreApplication::exit(0);
}

}  // namespace tallyroll
