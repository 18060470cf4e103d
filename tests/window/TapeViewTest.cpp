// The tape list on screen: selection both ways, scrolling, and the cost of a
// key on a full tape.
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
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
    QCoreApplication::processEvents();  // the list follows once the keys are handled
    ASSERT_EQ(tape().size(), 3u);
    EXPECT_EQ(list->currentIndex().row(), 2);

    clickLine(0);
    EXPECT_EQ(window->calculator().tape().selected(), 0);
    EXPECT_EQ(focus(), "picSetFocus");

    type("4+");
    QCoreApplication::processEvents();
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

// The rows are painted from texts laid out once; they must look exactly as
// the item delegate paints them: plain, selected, in an active and in an
// inactive window, and with the wide and the negative lines.
TEST_F(WindowHarness, RowsLookAsTheItemDelegatePaintsThem) {
    type("12+3.5-2*");
    key(Qt::Key_F9);
    type("=1234567890+9/7=");
    auto* list = List(*this, control("lstTape"));
    QCoreApplication::processEvents();
    const auto delegatePainted = [list] {
        QImage image(list->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(list->viewport()->palette().color(list->viewport()->backgroundRole()));
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.font = list->font();
        option.showDecorationSelected = true;
        option.palette = list->palette();
        option.decorationSize = list->iconSize();
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.features = QStyleOptionViewItem::None;
        option.widget = list;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            option.rect = list->visualRect(index);
            if (!list->viewport()->rect().intersects(option.rect)) continue;
            option.state = QStyle::State_Enabled;
            if (list->selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
            if (list->isActiveWindow()) option.state |= QStyle::State_Active;
            list->itemDelegate()->paint(&painter, option, index);
        }
        return image.convertToFormat(QImage::Format_RGB32);
    };
    for (const int row : {list->model()->rowCount() - 1, 2}) {
        clickLine(row);
        QCoreApplication::processEvents();
        EXPECT_EQ(list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                  delegatePainted())
            << "row " << row << " selected";
    }
    // Another window takes the activation: the selection turns inactive.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    ASSERT_FALSE(list->isActiveWindow());
    EXPECT_EQ(list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32),
              delegatePainted());
}

}  // namespace
}  // namespace tallyroll
