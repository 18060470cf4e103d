#include "window/KeyEcho.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>
#include <vector>

namespace tallyroll {

namespace {

class KeyEcho : public QObject, public QAccessible::ActivationObserver {
  public:
    explicit KeyEcho(QWidget& window) : QObject(&window), window_(window) {
        QAccessible::installActivationObserver(this);
        Watch(QAccessible::isActive());
    }
    ~KeyEcho() override { QAccessible::removeActivationObserver(this); }

    // Watches keys only while assistive technology is active: a key costs
    // nothing more otherwise.
    void accessibilityActiveChanged(bool active) override { Watch(active); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
        if (probing_ || !QAccessible::isActive()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::ShortcutOverride) {
            // Reaches the window only when no control took the key as its
            // own (a text box keeps Ctrl+V): the key then comes as a press.
            if (watched != &window_ || !CommandFor(*key)) return false;
            event->accept();
            return true;
        }
        // The press, which the screen reader has heard by now, on the
        // control with the focus: the command runs as the shortcut would.
        QAction* command = CommandFor(*key);
        if (!command || (watched != &window_ && ControlTakes(watched, *key))) return false;
        command->trigger();
        return true;
    }

  private:
    void Watch(bool active) {
        if (active == watching_) return;
        watching_ = active;
        std::vector<QWidget*> watched{&window_};
        for (QWidget* w : window_.findChildren<QWidget*>())
            if (w->focusPolicy() != Qt::NoFocus) watched.push_back(w);
        for (QWidget* w : watched) {
            if (active)
                w->installEventFilter(this);
            else
                w->removeEventFilter(this);
        }
    }

    static QKeyCombination Combination(const QKeyEvent& key) {
        return QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    }

    QAction* CommandFor(const QKeyEvent& key) const {
        const QKeyCombination c = Combination(key);
        auto find = [this](QKeyCombination combination) -> QAction* {
            const QKeySequence sequence(combination);
            for (QAction* a : window_.actions())
                if (a->isEnabled() && a->isVisible() && a->shortcuts().contains(sequence)) return a;
            return nullptr;
        };
        if (QAction* a = find(c)) return a;
        // Ctrl++ comes as Ctrl+Shift++ on most keyboards, as Qt's shortcuts allow.
        if (c.keyboardModifiers() & Qt::ShiftModifier)
            return find(QKeyCombination(c.keyboardModifiers() & ~Qt::ShiftModifier, c.key()));
        return nullptr;
    }

    // Whether the control (or a frame around it) keeps the key for itself,
    // as it told Qt's shortcuts: asked again, with this filter out of the way.
    bool ControlTakes(QObject* control, const QKeyEvent& key) {
        QKeyEvent ask(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text(),
                      key.isAutoRepeat(), static_cast<quint16>(key.count()));
        ask.ignore();
        probing_ = true;
        QCoreApplication::sendEvent(control, &ask);
        probing_ = false;
        return ask.isAccepted();
    }

    QWidget& window_;
    bool watching_ = false;
    bool probing_ = false;
};

}  // namespace

void InstallKeyEcho(QWidget& window) {
    new KeyEcho(window);
}

}  // namespace tallyroll
