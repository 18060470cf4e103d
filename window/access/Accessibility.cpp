#include "window/access/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <iterator>
#include <utility>

#include "tape/TapeSpeech.h"
#include "window/access/AccessibleNames.h"
#include "window/access/Announcer.h"
#include "window/tapeview/TapeAccessible.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {

namespace {

constexpr const char* kDisplayProperty = "AccessibleDisplay";
constexpr QAccessible::Role kHolderRole = QAccessible::EditableText;

struct WindowRole {
    const char* name;
    QAccessible::Role role;
};

// The start-up window is the program's frame; the calculator and the title
// are shown modally over it and are dialogs.
constexpr WindowRole kWindowRoles[] = {
    {"frmDemo", QAccessible::Window},
    {"frmCalculator", QAccessible::Dialog},
    {"Form1", QAccessible::Dialog},
};

// Labels whose accessible name is their table name followed by what they
// show: a screen reader reading the window finds the values in them.
enum class Value { Shown, Display, Operator, Line, MemorySign };

struct ValueLabel {
    const char* name;
    Value value;
};

constexpr ValueLabel kValueLabels[] = {
    {"lblResult", Value::Display},    {"lblOperator", Value::Operator},
    {"lblGrandTotal", Value::Shown},  {"lblChangeFrom", Value::Line},
    {"lblMemory", Value::MemorySign},
};

const ValueLabel* ValueLabelOf(const QWidget& w) {
    if (!qobject_cast<const QLabel*>(&w)) return nullptr;
    for (const ValueLabel& v : kValueLabels)
        if (w.objectName() == QLatin1String(v.name)) return &v;
    return nullptr;
}

class ValueLabelAccessible : public QAccessibleWidget {
  public:
    ValueLabelAccessible(QWidget* w, Value value)
        : QAccessibleWidget(w, QAccessible::StaticText), value_(value) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        const QString name = widget()->accessibleName();
        const QString shown = static_cast<const QLabel*>(widget())->text().trimmed();
        QString value;
        switch (value_) {
            case Value::Shown:
                value = shown;
                break;
            case Value::Display:
                value = QString::fromStdString(SpokenDisplay(shown.toStdString()));
                break;
            case Value::Operator:
                value = QString::fromStdString(SpokenOperator(shown.toStdString()));
                break;
            case Value::Line:
                value = QString::fromStdString(SpokenLine(shown.toStdString()));
                break;
            case Value::MemorySign:
                // Shown while the memory holds a number.
                return widget()->isHidden() ? QStringLiteral("Memory empty") : name;
        }
        return value.isEmpty() ? name : name + QLatin1Char(' ') + value;
    }

  private:
    Value value_;
};

// Text shared by the focus holder and the text boxes: one line, no
// attributes. A run of attributes covers the whole text, so a screen reader
// splitting it into runs reads every character.
class PlainTextInterface : public QAccessibleTextInterface {
  public:
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
    void scrollToSubstring(int, int) override {}
};

// The hidden focus holder: what a screen reader sees while the user types. A
// read-only text named "Result" whose text is the display, and after a key
// what the key did (Announcer): the inserted text of a focused field that is
// also selected is what Orca speaks.
class DisplayHolderAccessible : public QAccessibleWidget, public PlainTextInterface {
  public:
    explicit DisplayHolderAccessible(QWidget* w) : QAccessibleWidget(w, kHolderRole) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Display();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // Out of sight by design, yet it is what has the focus.
        s.invisible = false;
        s.offscreen = false;
        s.readOnly = true;
        s.editable = false;
        return s;
    }

    QString text(int start, int end) const override { return Text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return Told() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = 0;
        *end = index == 0 && Told() ? characterCount() : 0;
    }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }

  private:
    const Announcer* Tells() const { return Announcer::Of(*widget()); }
    bool Told() const { return Tells() && Tells()->told(); }
    QString Display() const {
        const auto* label =
            qobject_cast<const QLabel*>(widget()->property(kDisplayProperty).value<QObject*>());
        return label ? label->text() : QString();
    }
    QString Text() const { return Tells() ? Tells()->text() : Display(); }
};

// A text box whose text a screen reader reads whole (Qt's own gives every
// character a run of its own, which Orca reads without the last character).
class TextBoxAccessible : public QAccessibleWidget,
                          public PlainTextInterface,
                          public QAccessibleEditableTextInterface {
  public:
    explicit TextBoxAccessible(QLineEdit* e) : QAccessibleWidget(e, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Edit()->displayText();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            Edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = Edit()->isReadOnly();
        s.editable = !s.readOnly;
        s.selectableText = true;
        s.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
        return s;
    }

    QString text(int start, int end) const override {
        return Edit()->displayText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Edit()->displayText().size()); }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText()) return;
        *start = Edit()->selectionStart();
        *end = Edit()->selectionEnd();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) Edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) Edit()->setSelection(start, end - start);
    }
    QRect characterRect(int offset) const override {
        // Measured without the text's scrolling, which a box this wide for
        // a number never needs.
        const QLineEdit* e = Edit();
        const QFontMetrics metrics(e->font());
        const QString shown = e->displayText();
        const QRect area = e->contentsRect().marginsRemoved(e->textMargins());
        const int x = area.x() + 2 + metrics.horizontalAdvance(shown.left(offset));
        const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
        const QRect local(x, area.y() + (area.height() - metrics.height()) / 2, width,
                          metrics.height());
        return {e->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        QString s = Edit()->text();
        s.replace(start, end - start, text);
        Edit()->setText(s);
    }

  private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

const WindowRole* RoleOfWindow(const QWidget& w) {
    if (!w.isWindow()) return nullptr;
    for (const WindowRole& r : kWindowRoles)
        if (w.objectName() == QLatin1String(r.name)) return &r;
    return nullptr;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className != QLatin1String(w->metaObject()->className())) return nullptr;
    if (auto* tape = qobject_cast<TapeListView*>(w)) return MakeTapeAccessible(*tape);
    if (w->property(kDisplayProperty).isValid()) return new DisplayHolderAccessible(w);
    if (const ValueLabel* v = ValueLabelOf(*w)) return new ValueLabelAccessible(w, v->value);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return new TextBoxAccessible(edit);
    if (const WindowRole* r = RoleOfWindow(*w)) return new QAccessibleWidget(w, r->role);
    return nullptr;
}

// What the window tells beyond what its controls tell themselves. A text
// change of a control that is not shown is not told: the change panel is
// filled while hidden, and a screen reader that heard the box filled would
// read its number before the panel and again with the focus. A caret move or
// selection change is told only for the control that has the focus and has
// been told focused: the focus coming to a text box selects its text before
// Qt tells the focus, and leaving it takes the selection away after, and a
// screen reader would read either as news beside the focus itself.
QAccessible::UpdateHandler nextHandler = nullptr;  // null: the platform
QPointer<QObject> focusTold;

bool Withheld(const QAccessibleEvent& event) {
    const auto* w = qobject_cast<const QWidget*>(event.object());
    if (!w) return false;
    switch (event.type()) {
        case QAccessible::TextInserted:
        case QAccessible::TextRemoved:
        case QAccessible::TextUpdated:
            return !w->isVisible();
        case QAccessible::TextCaretMoved:
        case QAccessible::TextSelectionChanged: {
            const QWidget* focus = w;
            while (focus->focusProxy()) focus = focus->focusProxy();
            return !w->hasFocus() || focus != focusTold;
        }
        default:
            return false;
    }
}

void Update(QAccessibleEvent* event) {
    if (event->type() == QAccessible::Focus) focusTold = event->object();
    if (Withheld(*event)) return;
    if (nextHandler) {
        nextHandler(event);
        return;
    }
    // On to the platform, which takes the events while no handler is set.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Update);
}

void InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        nextHandler = QAccessible::installUpdateHandler(&Update);
        return true;
    }();
    (void)installed;
}

// Whether the interface Qt holds for the widget is the one the factory
// above makes.
bool MadeHere(QWidget& w, QAccessibleInterface* iface) {
    if (qobject_cast<TapeListView*>(&w)) return iface->role() == QAccessible::List;
    if (const WindowRole* r = RoleOfWindow(w)) return iface->role() == r->role;
    return dynamic_cast<DisplayHolderAccessible*>(iface) ||
           dynamic_cast<ValueLabelAccessible*>(iface) || dynamic_cast<TextBoxAccessible*>(iface);
}

// An interface made while a widget was still being built (Qt may ask for one
// during construction) came from the default factory; drop it so the next
// request goes through ours.
void Renew(QWidget& w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&w);
    if (iface && !MadeHere(w, iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

}  // namespace

void MakeAccessible(QWidget& window) {
    InstallFactory();
    ApplyAccessibleNames(window);
    if (RoleOfWindow(window)) Renew(window);
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (qobject_cast<TapeListView*>(w) || w->property(kDisplayProperty).isValid() ||
            ValueLabelOf(*w) || qobject_cast<QLineEdit*>(w))
            Renew(*w);
    }
}

void SetDisplayHolder(QWidget& holder, QLabel& display) {
    holder.setProperty(kDisplayProperty, QVariant::fromValue<QObject*>(&display));
}

QAccessible::UpdateHandler ListenInsteadOfPlatform(QAccessible::UpdateHandler listener) {
    return std::exchange(nextHandler, listener);
}

void ValueChanged(QWidget& label) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent named(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

}  // namespace tallyroll
