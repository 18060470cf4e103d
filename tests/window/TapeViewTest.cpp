// The tape list on screen: selection both ways, scrolling, and the cost of a
// key on a full tape.
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>

#include "WindowHarness.h"
#include "window/KeyTable.h"

namespace tallyroll {
namespace {

QAbstractItemView* List(const WindowHarness&, QWidget* w) {
    return qobject_cast<QAbstractItemView*>(w);
}

TEST_F(WindowHarness, SelectionFollowsTheTapeBothWays) {
    auto* list = List(*this, control("lstTape"));
    type("1+2+3+");
    ASSERT_EQ(tape().size(), 3u);
    EXPECT_EQ(list->currentIndex().row(), 2);

    clickLine(0);
    EXPECT_EQ(window->calculator().tape().selected(), 0);
    EXPECT_EQ(focus(), "picSetFocus");

    type("4+");
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 3);

    type("l");
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_FALSE(list->selectionModel()->hasSelection());
}

TEST_F(WindowHarness, KeyOnFullTapeStaysCheapAndShowsNewLine) {
    Calculator& calc = window->calculator();
    for (int i = 0; i < TapeList::kMaxLines; ++i) {
        std::int16_t digit = '1', plus = '+';
        CheckKeyPress(calc, digit);
        CheckKeyPress(calc, plus);
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(calc.tape().count(), TapeList::kMaxLines);

    constexpr int kKeys = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kKeys; ++i) type(i % 2 ? "+" : "2");
    QCoreApplication::processEvents();
    const double perKeyMs = timer.nsecsElapsed() / 1e6 / kKeys;
    EXPECT_LT(perKeyMs, 1.0);

    auto* list = List(*this, control("lstTape"));
    EXPECT_EQ(list->model()->rowCount(), TapeList::kMaxLines);
    const QModelIndex last = list->model()->index(TapeList::kMaxLines - 1, 0);
    EXPECT_EQ(list->currentIndex(), last);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(last)));
    EXPECT_EQ(last.data().toString(), "+ 2.00");
}

// Records the region of every paint of a widget.
class PaintRegions : public QObject {
  public:
    QRegion painted;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

TEST_F(WindowHarness, RecalculationRepaintsTheTotalsOnScreen) {
    for (int i = 0; i < 20; ++i) type("1+2=");  // 60 lines: the first ones scrolled away
    auto* list = List(*this, control("lstTape"));
    const int lastTotal = list->model()->rowCount() - 1;
    ASSERT_EQ(list->model()->index(lastTotal, 0).data().toString(), "= 3.00");
    QCoreApplication::processEvents();
    ASSERT_FALSE(list->viewport()->rect().contains(list->visualRect(list->model()->index(0, 0))));

    doubleClickLine(lastTotal - 1);  // "+ 2.00"
    type("5");
    QCoreApplication::processEvents();
    PaintRegions paints;
    list->viewport()->installEventFilter(&paints);
    type("\r");
    QCoreApplication::processEvents();

    const QModelIndex total = list->model()->index(lastTotal, 0);
    EXPECT_EQ(total.data().toString(), "= 6.00");
    EXPECT_TRUE(paints.painted.contains(list->visualRect(total)));
}

}  // namespace
}  // namespace tallyroll
