#include "window/FrmCalculator.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string_view>

#include "engine/CalcError.h"
#include "window/AccessKeys.h"
#include "window/AppIcon.h"
#include "window/KeyTable.h"
#include "window/QtText.h"
#include "window/QtView.h"
#include "window/WindowFrame.h"
#include "window/access/Accessibility.h"
#include "window/access/FocusOrder.h"
#include "window/commands/Features.h"
#include "window/form/ControlTable.h"
#include "window/form/FocusFrame.h"
#include "window/form/FormBuilder.h"
#include "window/form/Widgets.h"
#include "window/tapeview/TapeListView.h"
#include "window/tapeview/TapeModel.h"

namespace tallyroll {

namespace {

// The click handler of every button, for single buttons and control arrays,
// and whether it always hands the focus back to the focus holder.
struct ButtonHandler {
    std::string_view name;
    void (Calculator::*plain)();
    void (Calculator::*indexed)(std::int16_t);
    bool parksFocus;
};

using C = Calculator;
constexpr ButtonHandler kButtonHandlers[] = {
    {"cmdNumber", nullptr, &C::cmdNumber_Click, true},
    {"cmdOperator", nullptr, &C::cmdOperator_Click, true},
    {"cmdFunction", nullptr, &C::cmdFunction_Click, true},
    {"cmdMemory", nullptr, &C::cmdMemory_Click, true},
    {"cmdDecimal", &C::cmdDecimal_Click, nullptr, true},
    {"cmdBackspace", &C::cmdBackspace_Click, nullptr, true},
    {"cmdNegitive", &C::cmdNegitive_Click, nullptr, true},
    {"cmdCancelEntry", &C::cmdCancelEntry_Click, nullptr, true},
    {"cmdCancel", &C::cmdCancel_Click, nullptr, true},
    {"cmdGrandTotal", &C::cmdGrandTotal_Click, nullptr, false},  // only when it runs equals
    {"cmdClear", &C::cmdClear_Click, nullptr, true},
    {"cmdPrint", &C::cmdPrint_Click, nullptr, true},
    {"cmdSave", &C::cmdSave_Click, nullptr, false},
    {"cmdClose", &C::cmdClose_Click, nullptr, false},
    {"cmdSaveChange", &C::cmdSaveChange_Click, nullptr, true},
    {"cmdCancelChange", &C::cmdCancelChange_Click, nullptr, true},
};

// Character code of a typed key as the key handlers receive it: Enter 13,
// Escape 27, Backspace 8, else the character; -1 for a key that types none.
int KeyAscii(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return -1;  // moves the focus; never typed
        default:
            break;
    }
    const QString text = e.text();
    if (text.isEmpty()) return -1;
    const char32_t c = text.toUcs4().value(0);
    return c < 0x8000 ? static_cast<int>(c) : 0;  // matches no key, still consumed
}

std::int16_t ShiftState(Qt::KeyboardModifiers m) {
    return static_cast<std::int16_t>((m & Qt::ShiftModifier ? 1 : 0) |
                                     (m & Qt::ControlModifier ? 2 : 0) |
                                     (m & Qt::AltModifier ? 4 : 0));
}

}  // namespace

FrmCalculator::FrmCalculator(CalculatorHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      hooks_(std::move(hooks)) {
    if (!hooks_.dialogs) hooks_.dialogs = MakeQtDialogs();
    if (!hooks_.zoomLevel) hooks_.zoomLevel = std::make_shared<int>(0);
    const QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    px_.twipsPerPixelX =
        hooks_.twipsPerPixelX.value_or(1440.0 / (scr ? scr->logicalDotsPerInchX() : 96.0));
    px_.twipsPerPixelY =
        hooks_.twipsPerPixelY.value_or(1440.0 / (scr ? scr->logicalDotsPerInchY() : 96.0));
    const FrameTwips& ref = CalculatorForm().referenceFrame;  // not zoomed: the frame is not ours
    const PixelScale unzoomed = px_.at(1);
    frame_ = new WindowFrame(
        *this,
        {unzoomed.x(ref.left), unzoomed.y(ref.top), unzoomed.x(ref.right), unzoomed.y(ref.bottom)},
        [this] { PositionWindow(); });

    SetUpForm(*this);
    setWindowIcon(AppIcon());
    const FormDef& form = CalculatorForm();
    resize(px_.x(form.innerWidth), px_.y(form.innerHeight));

    model_ = new TapeModel(this);
    controls_ = BuildForm(*this, *model_, px_);
    SetDisplayHolder(*controls_.picSetFocus, *controls_.lblResult);
    MakeAccessible(*this);
    SetFocusOrder(*this, controls_);
    view_ = std::make_unique<QtView>(*this, controls_, *model_, hooks_);
    calc_ = std::make_unique<Calculator>(*view_);
    model_->setTape(&calc_->tape());
    view_->attach(*calc_);
    ConnectHandlers();
    new FocusFrame(*this, *controls_.picSetFocus);
    features_ = std::make_unique<WindowFeatures>(*this);
    controls_.picSetFocus->setFocus(Qt::OtherFocusReason);
}

FrmCalculator::~FrmCalculator() {
    // The list's selection handler reaches into the calculation, which goes
    // before the widgets do: take the list away first.
    delete controls_.lstTape;
}

void FrmCalculator::ConnectHandlers() {
    for (QPushButton* b : findChildren<QPushButton*>()) {
        const std::string name = b->objectName().toStdString();
        const auto h = std::find_if(std::begin(kButtonHandlers), std::end(kButtonHandlers),
                                    [&](const ButtonHandler& x) { return x.name == name; });
        if (h == std::end(kButtonHandlers)) continue;
        const auto index = static_cast<std::int16_t>(b->property("Index").toInt());
        const ButtonHandler handler = *h;
        // Tab reaches it; a click leaves the focus where its handler hands
        // it back anyway, so a screen reader hears the click's result rather
        // than the focus leaving and coming back.
        if (handler.parksFocus) b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, handler, index] {
            Run(handler.name, [&] {
                if (handler.plain)
                    (calc_.get()->*handler.plain)();
                else
                    (calc_.get()->*handler.indexed)(index);
            });
        });
    }
    connect(controls_.cboDecPlace, &QComboBox::activated, this, [this](int index) {
        Run("cboDecPlace_Click", [&] { calc_->cboDecPlace_Click(index); });
    });
    // A list closed without a choice hands the keys back to where typing goes.
    connect(qobject_cast<DropDownBox*>(controls_.cboDecPlace), &DropDownBox::listClosed,
            controls_.picSetFocus, qOverload<>(&QWidget::setFocus));
    connect(qobject_cast<DropDownBox*>(controls_.cboType), &DropDownBox::listClosed,
            controls_.txtChangeTo, qOverload<>(&QWidget::setFocus));
    connect(controls_.lstTape, &QAbstractItemView::pressed, this,
            [this](const QModelIndex&) { Run("lstTape_Click", [&] { calc_->lstTape_Click(); }); });
    connect(controls_.lstTape, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex&) {
        Run("lstTape_DblClick", [&] { calc_->lstTape_DblClick(); });
    });
    for (QWidget* w :
         {controls_.picSetFocus, static_cast<QWidget*>(controls_.lstTape),
          static_cast<QWidget*>(controls_.txtChangeTo), static_cast<QWidget*>(controls_.cboType),
          control(QStringLiteral("cmdSaveChange")), control(QStringLiteral("cmdCancelChange"))})
        w->installEventFilter(this);
}

void FrmCalculator::Run(std::string_view handler, const std::function<void()>& body) {
    const QtView::Handling handling(*view_);
    // The handlers catch their own errors; anything else still ends in the
    // error report rather than escaping into the event loop.
    try {
        body();
    } catch (const CalcError& e) {
        calc_->ReportError(true, std::to_string(e.number), e.description, kModuleName,
                           std::string(handler));
    } catch (const std::exception& e) {
        calc_->ReportError(true, "0", e.what(), kModuleName, std::string(handler));
    }
}

QAction* FrmCalculator::AddCommand(const CommandDef& def, std::function<void()> handler) {
    auto* action = new QAction(Q(def.text), this);
    action->setObjectName(Q(def.id));
    action->setShortcuts(QKeySequence::listFromString(Q(def.keys), QKeySequence::PortableText));
    action->setShortcutContext(Qt::WindowShortcut);
    if (def.help) action->setProperty("help", Q(def.help));
    addAction(action);
    connect(
        action, &QAction::triggered, this,
        [this, name = std::string(def.id), handler = std::move(handler)] { Run(name, handler); });
    return action;
}

QAction* FrmCalculator::command(const QString& id) const {
    return findChild<QAction*>(id, Qt::FindDirectChildrenOnly);
}

QWidget* FrmCalculator::control(const QString& name, int index) const {
    return FindControl(*this, name, index);
}

void FrmCalculator::WhenUnloaded(QObject& context, std::function<void()> then) {
    connect(this, &FrmCalculator::unloaded, &context, std::move(then));
}

// ---- Keys ---------------------------------------------------------------

bool FrmCalculator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const QtView::Handling handling(*view_);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (RouteAccessKey(*calc_, controls_, watched, *key)) {
        case KeyRoute::Done:
            return true;
        case KeyRoute::Control:
            return false;
        case KeyRoute::KeyTable:
            break;
    }
    const int ascii = KeyAscii(*key);

    if (watched == controls_.cboType) {
        // The type of a change is picked with the mouse only; Tab still leaves.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
        auto keyCode = static_cast<std::int16_t>(key->key() & 0x7FFF);
        calc_->cboType_KeyDown(keyCode, ShiftState(key->modifiers()));
        auto code = static_cast<std::int16_t>(std::max(ascii, 0));
        calc_->cboType_KeyPress(code);
        return keyCode == 0 || code == 0;
    }
    if (ascii < 0) return false;  // arrows, function keys: the control's own
    auto code = static_cast<std::int16_t>(ascii);
    if (watched == controls_.txtChangeTo) {
        calc_->txtChangeTo_KeyPress(code);
        return code == 0;
    }
    // picSetFocus_KeyPress and lstTape_KeyPress.
    CheckKeyPress(*calc_, code);
    return code == 0;
}

bool FrmCalculator::focusNextPrevChild(bool next) {
    return MoveFocusInPanel(controls_, next) || QWidget::focusNextPrevChild(next);
}

void FrmCalculator::keyPressEvent(QKeyEvent* event) {
    const QtView::Handling handling(*view_);
    // Form_KeyPress: only characters delivered to the window itself. A key a
    // control left unhandled (a focused button, the text box's Escape) stops
    // here and is not routed.
    QWidget* focus = focusWidget();
    const int ascii = KeyAscii(*event);
    if ((focus == nullptr || focus == this) && ascii >= 0 && !IsChordCharacter(*event)) {
        auto code = static_cast<std::int16_t>(ascii);
        CheckKeyPress(*calc_, code);
    }
    event->accept();
}

// ---- Lifecycle ------------------------------------------------------------

void FrmCalculator::Form_Load() {
    if (loaded_) return;
    loaded_ = true;
    if (view_->now().day % 5 == 0 && hooks_.showTitle) hooks_.showTitle();
    ApplyInnerSize();
    PositionWindow();
}

void FrmCalculator::ApplyInnerSize() {
    const FormDef& form = CalculatorForm();
    // Created now, so that a platform that knows the frame before the window
    // is shown tells it to the placement at once.
    if (!windowHandle()) create();
    setFixedSize(px_.x(form.loadedInnerWidth()), px_.y(form.loadedInnerHeight()));
}

WorkAreaPixels FrmCalculator::WorkArea() const {
    if (hooks_.workArea) return *hooks_.workArea;
    const QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect a = scr ? scr->availableGeometry() : QRect();
    return {a.x(), a.y(), a.x() + a.width(), a.y() + a.height()};
}

void FrmCalculator::PositionWindow() {
    // The real outer size, inner area and frame, in the placement's twips
    // (at the zoom, like the work area).
    const QSize outer = size().grownBy(frame_->margins());
    const double tppX = px_.twipsPerPixelX / px_.zoom, tppY = px_.twipsPerPixelY / px_.zoom;
    const auto outerWidth = static_cast<int>(std::lround(outer.width() * tppX));
    const auto outerHeight = static_cast<int>(std::lround(outer.height() * tppY));
    const TwipsPoint p = tallyroll::PositionWindow(WorkArea(), tppX, tppY, outerWidth, outerHeight);
    frame_->Place(QPoint(px_.x(p.left), px_.y(p.top)));
}

void FrmCalculator::SetZoom(double zoom) {
    px_.zoom = zoom;
    ScaleForm(*this, px_);
    if (loaded_) {
        ApplyInnerSize();
        PositionWindow();
    }
    Form_Resize();
}

bool FrmCalculator::FitsWorkArea(double zoom) const {
    const FormDef& form = CalculatorForm();
    const WorkAreaPixels a = WorkArea();
    const QMargins m = frame_->margins();
    const PixelScale at = px_.at(zoom);
    return at.x(form.loadedInnerWidth()) + m.left() + m.right() <= a.right - a.left &&
           at.y(form.loadedInnerHeight()) + m.top() + m.bottom() <= a.bottom - a.top;
}

void FrmCalculator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    Form_Activate();
}

void FrmCalculator::Form_Activate() {
    // Runs when the window is shown, not when a message box hands activation
    // back: that would restart the calculation in the middle of it.
    Run("Form_Activate", [&] { calc_->Form_Activate(); });
    controls_.lblValue->setText(QString::fromStdString(calc_->captions().lblValue));
}

void FrmCalculator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FrmCalculator::Form_Resize() {
    controls_.fraChangeTape->setGeometry(0, px_.y(300), width(), px_.y(2200));
}

void FrmCalculator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) emit modalShowEnded();
}

void FrmCalculator::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void FrmCalculator::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // Told after the close has finished, so the owner may release the window
    // with deleteLater() while a modal show unwinds.
    QMetaObject::invokeMethod(this, &FrmCalculator::unloaded, Qt::QueuedConnection);
}

// ---- Host interface ----------------------------------------------------------

void FrmCalculator::SetStartValue(Currency value) {
    Form_Load();
    calc_->SetStartValue(value);
}

void FrmCalculator::DepositNumber(std::int32_t value) {
    Form_Load();
    calc_->DepositNumber(value);
}

void FrmCalculator::ShowModal(QWidget* owner) {
    Form_Load();
    if (unloaded_) return;
    if (owner && parentWidget() != owner) {
        const QPoint at = pos();
        // A dialog of its owner: window managers keep it above the owner and
        // do not list it on its own (X11 marks only dialogs transient).
        setParent(owner, (windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
        move(at);
    }
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &FrmCalculator::modalShowEnded, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    if (isVisible()) loop.exec();
}

void FrmCalculator::Unload() {
    close();
}

bool FrmCalculator::accepted() const {
    return !unloaded_ && calc_->captions().cmdSaveTag == "OK";
}

QString FrmCalculator::result() const {
    return controls_.lblResult->text();
}

}  // namespace tallyroll
