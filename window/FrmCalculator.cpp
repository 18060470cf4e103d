#include "window/FrmCalculator.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <string_view>
#include <vector>
#include "window/TapeListView.h"

#include "engine/CalcError.h"
#include "window/AccessKeys.h"
#include "window/Accessibility.h"
#include "window/AppIcon.h"
#include "window/ControlTable.h"
#include "window/FittingLabel.h"
#include "window/FocusFrame.h"
#include "window/FocusOrder.h"
#include "window/HelpWindow.h"
#include "window/KeyEcho.h"
#include "window/KeyTable.h"
#include "window/QtView.h"
#include "window/RestoreTape.h"
#include "window/TapeCommands.h"
#include "window/TapeJournal.h"
#include "window/TapeModel.h"
#include "window/UndoCommands.h"
#include "window/Widgets.h"
#include "window/WindowFrame.h"
#include "window/Zoom.h"

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

QString Q(const char* s) {
    return QString::fromUtf8(s);
}

QFont MakeFont(const FontDef& def, const QFont& inherited) {
    if (!def.family) return inherited;
    QFont f(Q(def.family));
    f.setPointSizeF(def.points);
    f.setBold(def.bold);
    return f;
}

Qt::Alignment ToQt(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case Align::Left:
        case Align::Default:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The colour the dump names for a control that keeps the platform's default.
Colour DefaultBack(ControlKind kind) {
    switch (kind) {
        case ControlKind::List:
        case ControlKind::Combo:
        case ControlKind::DropList:
        case ControlKind::TextBox:
            return {SystemColour::Window};
        default:
            return {SystemColour::ButtonFace};
    }
}

Colour DefaultFore(ControlKind kind) {
    return DefaultBack(kind).system == SystemColour::Window ? Colour{SystemColour::WindowText}
                                                            : Colour{SystemColour::ButtonText};
}

void InstallFontSubstitutes() {
    for (const FontSubstitute& s : FontSubstitutes()) {
        QStringList families;
        for (const char* f : s.substitutes) families << Q(f);
        QFont::removeSubstitutions(Q(s.family));
        QFont::insertSubstitutions(Q(s.family), families);
    }
}

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
    tppX_ = hooks_.twipsPerPixelX.value_or(1440.0 / (scr ? scr->logicalDotsPerInchX() : 96.0));
    tppY_ = hooks_.twipsPerPixelY.value_or(1440.0 / (scr ? scr->logicalDotsPerInchY() : 96.0));
    InstallFontSubstitutes();
    const FrameTwips& ref = CalculatorForm().referenceFrame;  // not zoomed: the frame is not ours
    frame_ = new WindowFrame(*this,
                             {PxAt(ref.left, 1, true), PxAt(ref.top, 1, false),
                              PxAt(ref.right, 1, true), PxAt(ref.bottom, 1, false)},
                             [this] { PositionWindow(); });

    const FormDef& form = CalculatorForm();
    setObjectName(Q(form.name));
    setWindowTitle(Q(form.caption));
    setWindowIcon(AppIcon());
    setFont(MakeFont(form.font, font()));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ResolveColour(form.back, pal));
    setPalette(pal);
    setAutoFillBackground(true);
    setProperty("BackColor", SystemColourName(form.back.system));
    resize(Px(form.innerWidth, true), Px(form.innerHeight, false));

    BuildControls();
    view_ = std::make_unique<QtView>(*this, controls_, *model_, hooks_);
    calc_ = std::make_unique<Calculator>(*view_);
    model_->setTape(&calc_->tape());
    view_->attach(*calc_);
    ConnectHandlers();
    InstallAccessKeys(*this, *calc_);
    new FocusFrame(*this, *controls_.picSetFocus);
    InstallTapeCommands(*this);
    InstallUndoCommands(*this, *calc_);
    InstallZoomCommands(*this);
    InstallHelpCommand(*this);
    InstallKeyEcho(*this);
    journal_ = InstallTapeJournal(*this);
    controls_.picSetFocus->setFocus(Qt::OtherFocusReason);
}

FrmCalculator::~FrmCalculator() {
    // The list's selection handler reaches into the calculation, which goes
    // before the widgets do: take the list away first.
    delete controls_.lstTape;
}

int FrmCalculator::Px(double twips, bool horizontal) const {
    return PxAt(twips, zoom_, horizontal);
}

int FrmCalculator::PxAt(double twips, double zoom, bool horizontal) const {
    return static_cast<int>(std::lround(twips * zoom / (horizontal ? tppX_ : tppY_)));
}

QRect FrmCalculator::PixelRect(int left, int top, int width, int height) const {
    const int l = Px(left, true), t = Px(top, false);
    return {l, t, Px(left + width, true) - l, Px(top + height, false) - t};
}

void FrmCalculator::BuildControls() {
    model_ = new TapeModel(this);
    const QIcon icon = windowIcon();
    std::vector<QWidget*> graphical;  // drawn beneath the other controls, as a form does

    int order = 0;
    for (const ControlDef& def : CalculatorControls()) {
        QWidget* parent = def.parent ? control(Q(def.parent)) : this;
        QWidget* w = nullptr;
        const QString caption = Q(def.caption);
        switch (def.kind) {
            case ControlKind::Button: {
                auto* b = new QPushButton(caption, parent);
                // Enter and Escape always reach the key table, never a button.
                b->setAutoDefault(false);
                b->setDefault(false);
                w = b;
                break;
            }
            case ControlKind::Label: {
                auto* l = new FittingLabel(caption, parent);
                l->setTextFormat(Qt::PlainText);
                l->setAlignment(ToQt(def.align));
                if (def.border) {
                    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                    l->setIndent(3);  // keep the text off the border
                }
                w = l;
                break;
            }
            case ControlKind::Image: {
                auto* l = new QLabel(parent);
                const QRect r =
                    PixelRect(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
                l->setPixmap(icon.pixmap(r.size(), devicePixelRatioF()));
                w = l;
                break;
            }
            case ControlKind::List: {
                auto* v = new TapeListView(parent);
                v->setModel(model_);
                w = v;
                break;
            }
            case ControlKind::Combo:
            case ControlKind::DropList: {
                auto* cb = new DropDownBox(parent);
                cb->setEditable(def.kind == ControlKind::Combo);
                cb->setInsertPolicy(QComboBox::NoInsert);
                for (const char* item : def.items) cb->addItem(Q(item));
                cb->setCurrentIndex(-1);
                if (cb->isEditable()) cb->setEditText(caption);
                w = cb;
                break;
            }
            case ControlKind::TextBox:
                w = new QLineEdit(caption, parent);
                break;
            case ControlKind::Frame: {
                auto* g = new QGroupBox(caption, parent);
                g->setAutoFillBackground(true);
                w = g;
                break;
            }
            case ControlKind::Picture:
                w = new PictureBox(parent);
                w->setFocusPolicy(Qt::StrongFocus);
                break;
            case ControlKind::Shape: {
                QPalette pal = palette();
                w = new ShapeWidget(ResolveColour(def.back, pal), ResolveColour(def.fore, pal),
                                    parent);
                break;
            }
        }
        w->setObjectName(Q(def.name));
        w->setProperty("Order", order++);  // the stacking order below differs
        if (def.index >= 0) w->setProperty("Index", def.index);
        if (def.tab >= 0) w->setProperty("TabIndex", def.tab);
        w->setGeometry(PixelRect(def.rect.left, def.rect.top, def.rect.width, def.rect.height));
        w->setFont(MakeFont(def.font, parent->font()));
        if (def.toolTip) w->setToolTip(Q(def.toolTip));

        const Colour back =
            def.back.system == SystemColour::None ? DefaultBack(def.kind) : def.back;
        const Colour fore =
            def.fore.system == SystemColour::None ? DefaultFore(def.kind) : def.fore;
        QPalette pal = w->palette();
        const QColor backColour = ResolveColour(back, pal), foreColour = ResolveColour(fore, pal);
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            pal.setColor(role, backColour);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(role, foreColour);
        if (def.back.system != SystemColour::None || def.fore.system != SystemColour::None ||
            def.kind == ControlKind::Frame) {
            w->setPalette(pal);
            if (def.kind == ControlKind::Label)
                w->setAutoFillBackground(def.back.system != SystemColour::None);
        }
        w->setProperty("BackColor", back.system == SystemColour::Fixed
                                        ? backColour.name().toUpper()
                                        : QString(SystemColourName(back.system)));
        w->setProperty("ForeColor", fore.system == SystemColour::Fixed
                                        ? foreColour.name().toUpper()
                                        : QString(SystemColourName(fore.system)));
        if (!def.shown) w->hide();

        if (def.kind == ControlKind::Label || def.kind == ControlKind::Image ||
            def.kind == ControlKind::Shape)
            graphical.push_back(w);
    }

    // Later entries of the definition lie above earlier ones among the
    // graphical controls; all of them lie beneath buttons, lists and boxes.
    for (auto it = graphical.rbegin(); it != graphical.rend(); ++it) (*it)->lower();

    auto find = [this](const char* name) { return control(Q(name)); };
    controls_.lblResult = qobject_cast<QLabel*>(find("lblResult"));
    controls_.lblOperator = qobject_cast<QLabel*>(find("lblOperator"));
    controls_.lblGrandTotal = qobject_cast<QLabel*>(find("lblGrandTotal"));
    controls_.lblMemory = qobject_cast<QLabel*>(find("lblMemory"));
    controls_.lblValue = qobject_cast<QLabel*>(find("lblValue"));
    controls_.cboDecPlace = qobject_cast<QComboBox*>(find("cboDecPlace"));
    controls_.fraChangeTape = find("fraChangeTape");
    controls_.lblChangeFrom = qobject_cast<QLabel*>(find("lblChangeFrom"));
    controls_.txtChangeTo = qobject_cast<QLineEdit*>(find("txtChangeTo"));
    controls_.cboType = qobject_cast<QComboBox*>(find("cboType"));
    controls_.picSetFocus = find("picSetFocus");
    controls_.lstTape = qobject_cast<TapeListView*>(find("lstTape"));
    SetDisplayHolder(*controls_.picSetFocus, *controls_.lblResult);
    MakeAccessible(*this);
    SetFocusOrder(*this, controls_);
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
    for (QWidget* w : findChildren<QWidget*>(name)) {
        const QVariant i = w->property("Index");
        if (index < 0 ? !i.isValid() : (i.isValid() && i.toInt() == index)) return w;
    }
    return nullptr;
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
    setFixedSize(Px(form.loadedInnerWidth(), true), Px(form.loadedInnerHeight(), false));
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
    const double tppX = tppX_ / zoom_, tppY = tppY_ / zoom_;
    const auto outerWidth = static_cast<int>(std::lround(outer.width() * tppX));
    const auto outerHeight = static_cast<int>(std::lround(outer.height() * tppY));
    const TwipsPoint p = tallyroll::PositionWindow(WorkArea(), tppX, tppY, outerWidth, outerHeight);
    frame_->Place(QPoint(Px(p.left, true), Px(p.top, false)));
}

void FrmCalculator::SetZoom(double zoom) {
    zoom_ = zoom;
    ZoomControls(*this);
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
    return PxAt(form.loadedInnerWidth(), zoom, true) + m.left() + m.right() <= a.right - a.left &&
           PxAt(form.loadedInnerHeight(), zoom, false) + m.top() + m.bottom() <= a.bottom - a.top;
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
    controls_.fraChangeTape->setGeometry(0, Px(300, false), width(), Px(2200, false));
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
