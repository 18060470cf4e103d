#include "tools/script/WindowBackend.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

#include "printing/Printers.h"
#include "window/Json.h"
#include "window/QtText.h"
#include "window/form/TextFit.h"
#include "window/form/Widgets.h"

namespace tallyroll {

namespace {

// The control's name as the dump writes it: "cmdNumber(3)" inside an array.
std::string NameOf(const QWidget& w) {
    const QVariant index = w.property("Index");
    return ControlName(S(w.objectName()),
                       index.isValid() ? std::optional<int>(index.toInt()) : std::nullopt);
}

// The named control w belongs to (a combo's edit field is its combo's).
const QWidget* NamedControl(const QWidget* w) {
    while (w && (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))))
        w = w->isWindow() ? nullptr : w->parentWidget();
    return w;
}

// Every control of a window, in the order of its definition.
QList<QWidget*> ControlsOf(const QWidget& window) {
    QList<QWidget*> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->isWindow() || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        out.push_back(w);
    }
    std::stable_sort(out.begin(), out.end(), [](const QWidget* a, const QWidget* b) {
        return a->property("Order").toInt() < b->property("Order").toInt();
    });
    return out;
}

std::string ColourOf(const QWidget& w, const char* property, QPalette::ColorRole role) {
    const QString named = w.property(property).toString();
    return S(named.isEmpty() ? w.palette().color(role).name().toUpper() : named);
}

std::string AlignOf(Qt::Alignment a) {
    if (a & Qt::AlignRight) return "\"right\"";
    if (a & Qt::AlignHCenter) return "\"center\"";
    return "\"left\"";
}

// A text of the control as assistive technology gets it; null without an interface.
std::string AccessibleText(const QWidget& w, QAccessible::Text which) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&w));
    return iface ? json::Quote(S(iface->text(which))) : std::string("null");
}

std::string NullOr(const std::optional<std::string>& s) {
    return s ? json::Quote(*s) : std::string("null");
}

}  // namespace

// ---- Session windows ---------------------------------------------------------

SessionWindows::SessionWindows(SessionLog& log, const DriverOptions& options)
    : log_(log),
      options_(options),
      journal_(std::make_shared<JournalFolder>(JournalFolder::DefaultPath(), options.journal)) {}

SessionWindows::~SessionWindows() {
    delete calculator_.data();
}

CalculatorHooks SessionWindows::calculatorHooks() {
    CalculatorHooks hooks;
    if (options_.now) {
        const LocalDateTime now = *options_.now;
        hooks.now = [now] { return now; };
    }
    hooks.showTitle = [this] {
        if (showTitle) showTitle();
    };
    SessionLog* log = &log_;
    if (options_.printer == "record")
        hooks.defaultPrinter = [log] { return MakeRecordingPrinter(*log); };
    else if (options_.printer == "fail")
        hooks.defaultPrinter = [] { return MakeFailingPrinter(); };
    else
        hooks.defaultPrinter = [] { return std::unique_ptr<Printer>(); };
    hooks.pdfPrinter = [](const std::string& path) { return MakePdfPrinter(path); };
    hooks.dialogs = MakeScriptedDialogs(log_);
    hooks.beep = [log] { ++log->beeps; };
    if (options_.workArea) {
        const auto& a = *options_.workArea;
        hooks.workArea = WorkAreaPixels{a[0], a[1], a[2], a[3]};
    }
    hooks.twipsPerPixelX = options_.tppX;
    hooks.twipsPerPixelY = options_.tppY;
    hooks.endProgram = [this] { endProgram(); };
    hooks.zoomLevel = zoomLevel_;
    hooks.journal = journal_;
    return hooks;
}

FrmCalculator& SessionWindows::createCalculator() {
    auto* window = new FrmCalculator(calculatorHooks());
    calculator_ = window;
    // The unload releases the window: the next request creates a new one.
    QObject::connect(window, &FrmCalculator::unloaded, window, [this, window] {
        if (calculator_ == window) calculator_ = nullptr;
        window->deleteLater();
    });
    return *window;
}

void SessionWindows::open() {
    FrmCalculator& window = createCalculator();
    window.SetStartValue(0);
    window.ShowModal(nullptr);
}

QWidget* SessionWindows::activeWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    if (calculator_ && calculator_->isVisible()) return calculator_;
    return nullptr;
}

bool SessionWindows::titleShown() const {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->objectName() == QLatin1String("Form1") && w->isVisible();
    });
}

void SessionWindows::endProgram() {
    ended_ = true;
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
}

// ---- Backend -------------------------------------------------------------------

WindowBackend::WindowBackend(SessionWindows& windows, const DriverOptions& options)
    : windows_(windows), tppX_(options.tppX), tppY_(options.tppY) {}

void WindowBackend::sendKey(int key, const QString& text, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) {
        QWidget* window = windows_.activeWindow();
        if (!window) return;  // nothing has the focus: the key is lost
        // The key goes to the active window, as on a desktop; a popup closed
        // on the offscreen platform leaves no window active.
        if (QApplication::activeWindow() != window) QApplication::setActiveWindow(window);
        target = window->focusWidget() ? window->focusWidget() : window;
        // A closed drop-down list hands the activation back to its window, as
        // a window manager does; on the offscreen platform the hidden list
        // can stay the active window, and the window's key commands would
        // not fire.
        if (QWidget* active = QApplication::activeWindow();
            active && active != window && !active->isVisible())
            QApplication::setActiveWindow(window);
    }
    QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(key), text, modifiers);
}

std::string WindowBackend::typeCharacter(char32_t c) {
    switch (c) {
        case 13:
            return typeKey(SpecialKey::Enter);
        case 27:
            return typeKey(SpecialKey::Escape);
        case 8:
            return typeKey(SpecialKey::Backspace);
        case 9:
            return typeKey(SpecialKey::Tab);
        default:
            break;
    }
    const QString text = QString::fromUcs4(&c, 1);
    const int key = c >= 32 && c < 127 ? QTest::asciiToKey(static_cast<char>(c)) : Qt::Key_unknown;
    sendKey(key, text);
    return "";
}

std::string WindowBackend::typeKey(SpecialKey key) {
    struct Special {
        SpecialKey key;
        Qt::Key code;
        const char* text;
    };
    static const Special kKeys[] = {{SpecialKey::Enter, Qt::Key_Return, "\r"},
                                    {SpecialKey::Escape, Qt::Key_Escape, "\x1b"},
                                    {SpecialKey::Backspace, Qt::Key_Backspace, "\b"},
                                    {SpecialKey::Tab, Qt::Key_Tab, "\t"},
                                    {SpecialKey::Space, Qt::Key_Space, " "}};
    for (const Special& k : kKeys)
        if (k.key == key) sendKey(k.code, QString::fromLatin1(k.text));
    return "";
}

std::string WindowBackend::typeChord(const KeyChord& chord) {
    struct Named {
        const char* name;
        Qt::Key code;
        const char* text;  // what the key types, as the X11 platform reports it
    };
    static const Named kNamed[] = {{"F1", Qt::Key_F1, ""},
                                   {"F2", Qt::Key_F2, ""},
                                   {"F3", Qt::Key_F3, ""},
                                   {"F4", Qt::Key_F4, ""},
                                   {"F5", Qt::Key_F5, ""},
                                   {"F6", Qt::Key_F6, ""},
                                   {"F7", Qt::Key_F7, ""},
                                   {"F8", Qt::Key_F8, ""},
                                   {"F9", Qt::Key_F9, ""},
                                   {"F10", Qt::Key_F10, ""},
                                   {"F11", Qt::Key_F11, ""},
                                   {"F12", Qt::Key_F12, ""},
                                   {"Up", Qt::Key_Up, ""},
                                   {"Down", Qt::Key_Down, ""},
                                   {"Left", Qt::Key_Left, ""},
                                   {"Right", Qt::Key_Right, ""},
                                   {"Home", Qt::Key_Home, ""},
                                   {"End", Qt::Key_End, ""},
                                   {"PageUp", Qt::Key_PageUp, ""},
                                   {"PageDown", Qt::Key_PageDown, ""},
                                   {"Delete", Qt::Key_Delete, ""},
                                   {"Insert", Qt::Key_Insert, ""},
                                   {"Menu", Qt::Key_Menu, ""},
                                   {"Enter", Qt::Key_Return, "\r"},
                                   {"Escape", Qt::Key_Escape, "\x1b"},
                                   {"Backspace", Qt::Key_Backspace, "\b"},
                                   {"Tab", Qt::Key_Tab, "\t"},
                                   {"Space", Qt::Key_Space, " "}};
    Qt::KeyboardModifiers modifiers;
    if (chord.ctrl) modifiers |= Qt::ControlModifier;
    if (chord.shift) modifiers |= Qt::ShiftModifier;
    if (chord.alt) modifiers |= Qt::AltModifier;
    for (const Named& n : kNamed) {
        if (chord.key != n.name) continue;
        const bool backTab = n.code == Qt::Key_Tab && chord.shift;
        sendKey(backTab ? Qt::Key_Backtab : n.code, QString::fromLatin1(n.text), modifiers);
        return "";
    }
    if (chord.key.size() != 1) return "unknown key " + chord.key;
    // A letter types its control character with Ctrl and its capital with
    // Shift; a symbol key of a US keyboard types its upper symbol with Shift
    // (Ctrl+Shift+= is Ctrl+Shift++, as X11 reports it); any other character
    // types itself.
    static constexpr std::string_view kUsShifted[] = {"`1234567890-=[]\\;',./",
                                                      "~!@#$%^&*()_+{}|:\"<>?"};
    char c = chord.key[0];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (letter) c = static_cast<char>(chord.shift ? std::toupper(c) : std::tolower(c));
    if (const auto at = kUsShifted[0].find(c); chord.shift && at != std::string_view::npos)
        c = kUsShifted[1][at];
    const QString text =
        letter && chord.ctrl ? QString(QChar(std::toupper(c) & 0x1F)) : QString(QLatin1Char(c));
    sendKey(QTest::asciiToKey(c), text, modifiers);
    return "";
}

std::string WindowBackend::find(const std::string& name, std::optional<int> index,
                                QWidget*& out) const {
    out = nullptr;
    QWidget* window = windows_.activeWindow();
    if (!window) return "no window is shown";
    bool named = false;
    for (QWidget* w : ControlsOf(*window)) {
        if (S(w->objectName()) != name) continue;
        named = true;
        const QVariant i = w->property("Index");
        if (i.isValid() != index.has_value() || (index && i.toInt() != *index)) continue;
        out = w;
    }
    if (!named) return "no button " + name;
    if (!out) return "no control " + ControlName(name, index);
    if (!out->isVisibleTo(window)) return name + " is hidden";
    if (!window->isEnabled()) return "the window is disabled";
    if (!out->isEnabled()) return name + " is disabled";
    return "";
}

std::string WindowBackend::click(const std::string& name, std::optional<int> index) {
    QWidget* w = nullptr;
    if (auto err = find(name, index, w); !err.empty()) return err;
    QTest::mouseClick(w, Qt::LeftButton);
    return "";
}

std::string WindowBackend::choose(const std::string& name, int entry) {
    QWidget* w = nullptr;
    if (auto err = find(name, std::nullopt, w); !err.empty())
        return err.rfind("no button", 0) == 0 ? "no list " + name : err;
    auto* combo = qobject_cast<QComboBox*>(w);
    if (!combo) return "no list " + name;
    if (entry < 0 || entry >= combo->count())
        return name + " has no entry " + std::to_string(entry);
    // Open the list (unless a click on the box opened it), move the mouse
    // onto the entry, as a person does, and click it.
    if (combo->focusPolicy() & Qt::ClickFocus) combo->setFocus(Qt::MouseFocusReason);
    if (!combo->view()->isVisible()) combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QModelIndex item = combo->model()->index(entry, 0);
    list->scrollTo(item);
    const QPoint at = list->visualRect(item).center();
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (combo->currentIndex() != entry)
        return name + ": entry " + std::to_string(entry) + " not taken";
    return "";
}

std::string WindowBackend::tapeLine(int line, QWidget*& viewport, QPoint& at) {
    QWidget* w = nullptr;
    if (auto err = find("lstTape", std::nullopt, w); !err.empty()) return err;
    auto* list = qobject_cast<QAbstractItemView*>(w);
    if (line < 0 || line >= list->model()->rowCount())
        return "no tape line " + std::to_string(line);
    const QModelIndex index = list->model()->index(line, 0);
    list->scrollTo(index);  // as a person scrolls to a line before clicking it
    viewport = list->viewport();
    at = list->visualRect(index).center();
    return "";
}

std::string WindowBackend::select(int line) {
    QWidget* viewport = nullptr;
    QPoint at;
    if (auto err = tapeLine(line, viewport, at); !err.empty()) return err;
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    return "";
}

std::string WindowBackend::dblclick(int line) {
    QWidget* viewport = nullptr;
    QPoint at;
    if (auto err = tapeLine(line, viewport, at); !err.empty()) return err;
    // A real double click: press and release, then a press that is also a
    // double click, then the release.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    return "";
}

std::string WindowBackend::rclick(int line) {
    QWidget* viewport = nullptr;
    QPoint at;
    if (auto err = tapeLine(line, viewport, at); !err.empty()) return err;
    // The press selects the line; the platform then asks for the context
    // menu, which runs until an item is picked or it is closed.
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    return "";
}

std::string WindowBackend::menu(const std::string& text) {
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!open) return "no menu is open";
    for (QAction* action : open->actions()) {
        if (action->isSeparator() || S(action->text().remove(QLatin1Char('&'))) != text) continue;
        if (!action->isEnabled()) return text + " is disabled";
        const QPoint at = open->actionGeometry(action).center();
        QMouseEvent move(QEvent::MouseMove, at, open->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(open, &move);
        QTest::mouseClick(open, Qt::LeftButton, {}, at);
        return "";
    }
    return "no menu item " + text;
}

std::string WindowBackend::setClipboard(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
    return "";
}

std::string WindowBackend::start(Currency value) {
    FrmCalculator* calc = windows_.calculator();
    if (!calc) return "no calculator window";
    calc->SetStartValue(value);
    return "";
}

std::string WindowBackend::deposit(std::int32_t value) {
    FrmCalculator* calc = windows_.calculator();
    if (!calc) return "no calculator window";
    calc->DepositNumber(value);
    return "";
}

std::string WindowBackend::close() {
    QWidget* window = windows_.activeWindow();
    if (!window) return "no window is shown";
    window->close();
    return "";
}

Snapshot WindowBackend::snapshot() {
    Snapshot s;
    s.title = windows_.titleShown();
    s.host = windows_.host();
    s.ended = windows_.ended();
    s.clipboard = S(QApplication::clipboard()->text());
    FrmCalculator* calc = windows_.calculator();
    if (!calc) return s;
    auto text = [calc](const char* name) -> std::string {
        QWidget* w = calc->control(QString::fromLatin1(name));
        if (auto* label = qobject_cast<QLabel*>(w)) return S(label->text());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return S(edit->text());
        if (auto* combo = qobject_cast<QComboBox*>(w)) return S(combo->currentText());
        return {};
    };
    s.display = text("lblResult");
    s.op = text("lblOperator");
    s.grandTotal = text("lblGrandTotal");
    s.memory = !calc->control(QStringLiteral("lblMemory"))->isHidden();
    auto* list = qobject_cast<QAbstractItemView*>(calc->control(QStringLiteral("lstTape")));
    const QAbstractItemModel* model = list->model();
    s.tape.reserve(static_cast<std::size_t>(model->rowCount()));
    for (int i = 0; i < model->rowCount(); ++i)
        s.tape.push_back(S(model->index(i, 0).data().toString()));
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    s.selected = selected.isEmpty() ? -1 : selected.front().row();
    s.panel = {!calc->control(QStringLiteral("fraChangeTape"))->isHidden(), text("lblChangeFrom"),
               text("txtChangeTo"), text("cboType")};
    s.decimals =
        qobject_cast<QComboBox*>(calc->control(QStringLiteral("cboDecPlace")))->currentIndex();
    // A window no longer shown ("S", "E&xit") holds no keyboard focus; what
    // it would give back if shown again is the toolkit's business.
    const QWidget* focus = calc->isVisible() ? NamedControl(calc->focusWidget()) : nullptr;
    s.focus = focus && focus != calc ? NameOf(*focus) : "";
    s.state = calc->calculator().state();
    const QRect frame = calc->frameGeometry();
    s.window = Snapshot::Window{calc->isVisible(),
                                calc->isEnabled(),
                                calc->accepted(),
                                static_cast<int>(std::lround(frame.x() * tppX_)),
                                static_cast<int>(std::lround(frame.y() * tppY_)),
                                static_cast<int>(std::lround(frame.width() * tppX_)),
                                static_cast<int>(std::lround(frame.height() * tppY_))};
    return s;
}

std::string WindowBackend::controls(std::string& out) {
    using json::Bool, json::Number, json::Quote;
    const QWidget* window = windows_.activeWindow();
    if (!window) window = windows_.calculator();
    if (!window) return "no window is shown";
    auto tx = [this](int px) { return std::to_string(std::lround(px * tppX_)); };
    auto ty = [this](int px) { return std::to_string(std::lround(px * tppY_)); };

    const Qt::WindowFlags flags = window->windowFlags();
    const char* border = flags & Qt::FramelessWindowHint      ? "none"
                         : window->windowType() == Qt::Dialog ? "fixed-dialog"
                                                              : "fixed-single";
    const QRect frame = window->frameGeometry();
    std::string o =
        "{\"form\":{\"name\":" + Quote(S(window->objectName())) +
        ",\"caption\":" + Quote(S(window->windowTitle())) + ",\"border\":" + Quote(border) +
        ",\"minButton\":" + Bool(flags & Qt::WindowMinimizeButtonHint) +
        ",\"maxButton\":" + Bool(flags & Qt::WindowMaximizeButtonHint) +
        ",\"left\":" + tx(frame.x()) + ",\"top\":" + ty(frame.y()) +
        ",\"width\":" + tx(frame.width()) + ",\"height\":" + ty(frame.height()) +
        ",\"innerWidth\":" + tx(window->width()) + ",\"innerHeight\":" + ty(window->height()) +
        ",\"back\":" + Quote(ColourOf(*window, "BackColor", QPalette::Window)) + "},\"controls\":[";

    bool first = true;
    for (const QWidget* w : ControlsOf(*window)) {
        const ControlKind kind = KindOf(*w);
        std::optional<std::string> caption, text;
        std::optional<std::vector<std::string>> items;
        std::string align = "null";
        bool hasBorder = false;
        if (const auto* b = qobject_cast<const QPushButton*>(w)) {
            caption = S(b->text());
        } else if (const auto* l = qobject_cast<const QLabel*>(w)) {
            if (kind == ControlKind::Label) {
                caption = S(l->text());
                align = AlignOf(l->alignment());
            }
            hasBorder = l->frameShape() != QFrame::NoFrame;
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            caption = S(g->title());
            hasBorder = true;
        } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
            text = S(e->text());
            align = AlignOf(e->alignment());
            hasBorder = e->hasFrame();
        } else if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            text = S(c->currentText());
            items.emplace();
            for (int i = 0; i < c->count(); ++i) items->push_back(S(c->itemText(i)));
            hasBorder = c->hasFrame();
        } else if (const auto* v = qobject_cast<const QAbstractItemView*>(w)) {
            items.emplace();
            for (int i = 0; i < v->model()->rowCount(); ++i)
                items->push_back(S(v->model()->index(i, 0).data().toString()));
            hasBorder = v->frameShape() != QFrame::NoFrame;
        }
        const QWidget* parent = w->parentWidget();
        const bool inFrame = parent && parent != window && qobject_cast<const QGroupBox*>(parent);
        const QVariant index = w->property("Index"), tab = w->property("TabIndex");
        const QRect g = w->geometry();
        const QFont f = w->font();
        const TextFit fit = TextFitOf(*w);

        o += std::string(first ? "" : ",") + "{\"name\":" + Quote(S(w->objectName())) +
             ",\"index\":" + (index.isValid() ? std::to_string(index.toInt()) : "null") +
             ",\"kind\":" + Quote(KindName(kind)) +
             ",\"parent\":" + (inFrame ? Quote(S(parent->objectName())) : "null") +
             ",\"caption\":" + NullOr(caption) + ",\"text\":" + NullOr(text) + ",\"items\":";
        if (items) {
            o += "[";
            for (std::size_t i = 0; i < items->size(); ++i)
                o += (i ? "," : "") + Quote((*items)[i]);
            o += "]";
        } else {
            o += "null";
        }
        o += ",\"left\":" + tx(g.x()) + ",\"top\":" + ty(g.y()) + ",\"width\":" + tx(g.width()) +
             ",\"height\":" + ty(g.height()) +
             ",\"tab\":" + (tab.isValid() ? std::to_string(tab.toInt()) : "null") +
             ",\"visible\":" + Bool(!w->isHidden()) +
             ",\"font\":{\"family\":" + Quote(S(f.family())) +
             ",\"size\":" + Number(f.pointSizeF()) + ",\"bold\":" + Bool(f.bold()) + "}" +
             ",\"back\":" + Quote(ColourOf(*w, "BackColor", w->backgroundRole())) +
             ",\"fore\":" + Quote(ColourOf(*w, "ForeColor", w->foregroundRole())) +
             ",\"align\":" + align + ",\"border\":" + Bool(hasBorder) +
             ",\"tooltip\":" + (w->toolTip().isEmpty() ? "null" : Quote(S(w->toolTip()))) +
             ",\"accessibleName\":" + AccessibleText(*w, QAccessible::Name) +
             ",\"accessibleDescription\":" + AccessibleText(*w, QAccessible::Description) +
             ",\"fits\":" + Bool(fit.fits) + ",\"shownSize\":" + Number(fit.points) + "}";
        first = false;
    }
    out = o + "]}";
    return "";
}

}  // namespace tallyroll
