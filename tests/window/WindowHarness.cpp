#include "WindowHarness.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

namespace tallyroll {

void WindowHarness::open(const WindowSetup& setup) {
    window.reset();
    CalculatorHooks hooks;
    hooks.now = [now = setup.now] { return now; };
    hooks.showTitle = [this] { ++titlesShown; };
    hooks.dialogs = MakeScriptedDialogs(log);
    hooks.beep = [this] { ++log.beeps; };
    hooks.workArea = setup.workArea;
    hooks.twipsPerPixelX = hooks.twipsPerPixelY = setup.tpp;
    hooks.endProgram = [this] { ++programEnds; };
    hooks.journal = setup.journal;
    window = std::make_unique<FrmCalculator>(std::move(hooks));
    window->SetStartValue(0);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

namespace {
QWidget* KeyTarget(QWidget& window) {
    if (QWidget* w = QApplication::focusWidget()) return w;
    return window.focusWidget() ? window.focusWidget() : &window;
}
}  // namespace

void WindowHarness::type(const QString& text) {
    for (const QChar c : text) {
        const char ascii = c.toLatin1();
        QTest::sendKeyEvent(QTest::Click, KeyTarget(*window), QTest::asciiToKey(ascii), QString(c),
                            Qt::NoModifier);
    }
}

void WindowHarness::key(Qt::Key k) {
    QTest::keyClick(KeyTarget(*window), k);
}

void WindowHarness::chord(Qt::Key k, Qt::KeyboardModifiers modifiers, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, KeyTarget(*window), k, text, modifiers);
}

QWidget* WindowHarness::control(const char* name, int index) const {
    return window->control(QString::fromLatin1(name), index);
}

void WindowHarness::click(const char* name, int index) {
    QWidget* w = control(name, index);
    ASSERT_NE(w, nullptr) << name;
    QTest::mouseClick(w, Qt::LeftButton);
}

void WindowHarness::clickLine(int row) {
    auto* list = qobject_cast<QAbstractItemView*>(control("lstTape"));
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void WindowHarness::doubleClickLine(int row) {
    clickLine(row);
    auto* list = qobject_cast<QAbstractItemView*>(control("lstTape"));
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

std::string WindowHarness::focus() const {
    const QWidget* w = window->focusWidget();
    if (!w) return "";
    const QVariant index = w->property("Index");
    std::string name = w->objectName().toStdString();
    return index.isValid() ? name + "(" + std::to_string(index.toInt()) + ")" : name;
}

std::vector<std::string> WindowHarness::tape() const {
    // Read from the list on screen, which must show the calculation's tape.
    auto* list = qobject_cast<QAbstractItemView*>(control("lstTape"));
    std::vector<std::string> lines;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        lines.push_back(list->model()->index(i, 0).data().toString().toStdString());
    return lines;
}

}  // namespace tallyroll
