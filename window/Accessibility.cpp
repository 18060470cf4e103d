#include "window/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <iterator>

#include "window/AccessibleNames.h"
#include "window/TapeAccessible.h"
#include "window/TapeListView.h"

namespace tallyroll {

namespace {

constexpr const char* kDisplayProperty = "AccessibleDisplay";
constexpr const char* kDisplayPending = "AccessibleDisplayPending";
constexpr const char* kDisplayTold = "AccessibleDisplayTold";
constexpr QAccessible::Role kDisplayRole = QAccessible::StaticText;

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

// The hidden focus holder: what a screen reader sees while the user types.
// Its name says what it is ("Result"), its description is the display.
class DisplayHolderAccessible : public QAccessibleWidget {
  public:
    explicit DisplayHolderAccessible(QWidget* w) : QAccessibleWidget(w, kDisplayRole) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Value) {
            const auto* label =
                qobject_cast<const QLabel*>(widget()->property(kDisplayProperty).value<QObject*>());
            return label ? label->text() : QString();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // Out of sight by design, yet it is what has the focus.
        s.invisible = false;
        s.offscreen = false;
        s.readOnly = true;
        return s;
    }
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
    if (className == QLatin1String(w->metaObject()->className())) {
        if (auto* tape = qobject_cast<TapeListView*>(w)) return MakeTapeAccessible(*tape);
        if (w->property(kDisplayProperty).isValid()) return new DisplayHolderAccessible(w);
        if (const WindowRole* r = RoleOfWindow(*w)) return new QAccessibleWidget(w, r->role);
    }
    return nullptr;
}

void InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

// An interface made while a widget was still being built (Qt may ask for one
// during construction) came from the default factory; drop it so the next
// request goes through ours.
void Renew(QWidget& w, QAccessible::Role role) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&w);
    if (iface && iface->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

}  // namespace

void MakeAccessible(QWidget& window) {
    InstallFactory();
    ApplyAccessibleNames(window);
    if (const WindowRole* r = RoleOfWindow(window)) Renew(window, r->role);
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (qobject_cast<TapeListView*>(w)) Renew(*w, QAccessible::List);
        if (w->property(kDisplayProperty).isValid()) Renew(*w, kDisplayRole);
    }
}

void SetDisplayHolder(QWidget& holder, QLabel& display) {
    holder.setProperty(kDisplayProperty, QVariant::fromValue<QObject*>(&display));
}

void DisplayChanged(QWidget& holder) {
    if (!QAccessible::isActive() || holder.property(kDisplayPending).toBool()) return;
    // Told once the key's handler is done: a key that clears the display
    // and then shows a digit is heard as the digit only.
    holder.setProperty(kDisplayPending, true);
    QMetaObject::invokeMethod(
        &holder,
        [&holder] {
            holder.setProperty(kDisplayPending, false);
            const auto* label =
                qobject_cast<const QLabel*>(holder.property(kDisplayProperty).value<QObject*>());
            const QString text = label ? label->text() : QString();
            if (!QAccessible::isActive() || holder.property(kDisplayTold).toString() == text)
                return;
            holder.setProperty(kDisplayTold, text);
            QAccessibleEvent description(&holder, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&description);
        },
        Qt::QueuedConnection);
}

}  // namespace tallyroll
