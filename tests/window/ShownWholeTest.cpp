// Every number and every tape line is shown whole: the labels shrink their
// font to fit, the tape scrolls sideways, and what is painted is checked by
// recording the painter's text items. A list closed without a choice hands
// the keys back, and a key on a full tape paints only what changed.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "WindowHarness.h"
#include "engine/NumberText.h"
#include "window/KeyTable.h"
#include "window/form/FittingLabel.h"
#include "window/form/TextFit.h"
#include "window/tapeview/TapeListView.h"

namespace tallyroll {
namespace {

// A paint device that keeps every text item painted on it, where it was
// painted and how wide it is.
struct PaintedText {
    QString text;
    QPointF at;
    qreal width;
    QFont font;
};

class TextRecorder : public QPaintDevice {
  public:
    explicit TextRecorder(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    std::vector<PaintedText>& texts() { return engine_.texts; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            default:
                return 1;
        }
    }

  private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& s) override {
            if (s.state() & DirtyTransform) offset = s.transform().map(QPointF());
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            texts.push_back({item.text(), p + offset, item.width(), item.font()});
        }
        Type type() const override { return User; }
        std::vector<PaintedText> texts;
        QPointF offset;
    };
    QSize size_;
    mutable Engine engine_;
};

std::vector<PaintedText> Paint(QWidget& w) {
    TextRecorder device(w.size());
    w.render(&device, QPoint(), QRegion(), QWidget::DrawChildren);
    return device.texts();
}

struct WidestCase {
    const char* label;
    int decimals;  // -1: the general form
    bool negative;
};

std::string WidestText(const WidestCase& c) {
    const double v = c.negative ? -123456789012345.0 : 123456789012345.0;
    if (c.decimals < 0) return c.negative ? "-0.00123456789012345" : "0.00123456789012345";
    return FormatNumber(v, PatternFor(c.decimals));
}

std::vector<WidestCase> WidestCases() {
    std::vector<WidestCase> rows;
    for (const char* label : {"lblResult", "lblGrandTotal", "lblChangeFrom"})
        for (int decimals = -1; decimals <= 6; ++decimals)
            for (const bool negative : {false, true}) rows.push_back({label, decimals, negative});
    return rows;
}

class WidestNumbers : public WindowHarness, public ::testing::WithParamInterface<WidestCase> {};

TEST_P(WidestNumbers, ShrinkToFitAndGrowBack) {
    const WidestCase& c = GetParam();
    auto* label = qobject_cast<FittingLabel*>(control(c.label));
    ASSERT_NE(label, nullptr);
    control("fraChangeTape")->show();
    const QFont defined = label->font();
    // The grand total label carries a blank after the number.
    const QString text = QString::fromStdString(WidestText(c)) +
                         (std::string_view(c.label) == "lblGrandTotal" ? " " : "");
    label->setText(text);

    const TextFit fit = TextFitOf(*label);
    EXPECT_TRUE(fit.fits);
    // Smaller only when the defined size does not fit.
    const bool fitsAsDefined =
        QFontMetrics(defined, label).horizontalAdvance(text) <= label->textRect().width();
    if (fitsAsDefined)
        EXPECT_EQ(fit.points, defined.pointSizeF());
    else
        EXPECT_LT(fit.points, defined.pointSizeF());
    EXPECT_EQ(label->font(), defined);  // the label's own font stays as defined
    const std::vector<PaintedText> painted = Paint(*label);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].text, text);
    EXPECT_EQ(painted[0].font.family(), defined.family());
    EXPECT_EQ(QFontInfo(painted[0].font).pixelSize() < QFontInfo(defined).pixelSize(),
              !fitsAsDefined);
    // Inside the room the label gives its text, not cut on either side.
    const QRect room = label->textRect();
    EXPECT_GE(painted[0].at.x(), room.left());
    EXPECT_LE(painted[0].at.x() + painted[0].width, room.right() + 1);

    label->setText(QStringLiteral("12.50"));
    EXPECT_EQ(label->shownFont(), defined);
    EXPECT_EQ(TextFitOf(*label).points, defined.pointSizeF());
    ASSERT_EQ(Paint(*label).size(), 1u);
    EXPECT_EQ(QFontInfo(Paint(*label)[0].font).pixelSize(), QFontInfo(defined).pixelSize());
}

INSTANTIATE_TEST_SUITE_P(Labels, WidestNumbers, ::testing::ValuesIn(WidestCases()),
                         [](const ::testing::TestParamInfo<WidestCase>& row) {
                             const WidestCase& c = row.param;
                             return std::string(c.label) + "_" +
                                    (c.decimals < 0 ? std::string("general")
                                                    : std::to_string(c.decimals) + "places") +
                                    (c.negative ? "_negative" : "_positive");
                         });

TEST_F(WindowHarness, TypedProductShownWholeInDisplayAndTape) {
    window->calculator().cboDecPlace_Click(6);
    type("123456789012*1000=");
    EXPECT_EQ(display(), "123456789012000.000000");
    EXPECT_TRUE(TextFitOf(*control("lblResult")).fits);
    EXPECT_TRUE(TextFitOf(*control("lstTape")).fits);
}

// ---- The tape ------------------------------------------------------------------

TEST_F(WindowHarness, EveryTapeLineReadableWhole) {
    window->calculator().cboDecPlace_Click(6);
    type("123456789012345+");
    click("cmdNegitive");
    type("-123456789012345+==12+3=+4=g");
    auto* list = qobject_cast<TapeListView*>(control("lstTape"));
    QCoreApplication::processEvents();
    const std::vector<std::string> lines = tape();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_TRUE(TextFitOf(*list).fits);

    // The scroll bar reaches the end of the widest line, whose measured width
    // is never below what is painted.
    const QFontMetrics fm(list->font(), list->viewport());
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(line)));
    EXPECT_GE(list->widestLine(), widest);
    QScrollBar* bar = list->horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_GE(list->viewport()->width() + bar->maximum(), widest + list->textMargins());

    // Painted whole, never elided, at either end of the scroll bar.
    for (const int at : {bar->minimum(), bar->maximum()}) {
        bar->setValue(at);
        std::vector<std::string> painted;
        for (const PaintedText& t : Paint(*list->viewport())) {
            EXPECT_FALSE(t.text.contains(QChar(0x2026))) << t.text.toStdString();
            painted.push_back(t.text.toStdString());
        }
        for (const std::string& line : lines)
            EXPECT_NE(std::find(painted.begin(), painted.end(), line), painted.end()) << line;
    }

    // The tool tip of a line is its whole text.
    const QModelIndex first = list->model()->index(0, 0);
    EXPECT_EQ(first.data(Qt::ToolTipRole).toString().toStdString(), lines[0]);
    EXPECT_EQ(list->model()->index(1, 0).data().toString().toStdString(), lines[1]);
}

TEST_F(WindowHarness, ScrollBarGoesWhenTheWideLinesDo) {
    window->calculator().cboDecPlace_Click(6);
    type("123456789012345+");
    auto* list = qobject_cast<TapeListView*>(control("lstTape"));
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0);
    type("l1+");
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
}

// ---- Keys after a closed list ------------------------------------------------------

TEST_F(WindowHarness, ClosedDecimalListHandsKeysBack) {
    auto* list = qobject_cast<QComboBox*>(control("cboDecPlace"));
    for (const bool escape : {true, false}) {
        type("l");
        list->setFocus(Qt::MouseFocusReason);
        list->showPopup();
        QWidget* popup = list->view()->window();
        ASSERT_TRUE(popup->isVisible());
        if (escape)
            QTest::keyClick(list->view(), Qt::Key_Escape);
        else  // a click outside the list
            QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(-20, popup->height() + 20));
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(focus(), "picSetFocus");
        type("5+4=");
        EXPECT_EQ(list->currentIndex(), 2);
        EXPECT_EQ(tape(), (std::vector<std::string>{"+ 5.00", "+ 4.00", "= 9.00"}));
    }
}

TEST_F(WindowHarness, ClosedTypeListHandsKeysToTheNewNumber) {
    type("12+3=");
    doubleClickLine(0);
    auto* types = qobject_cast<QComboBox*>(control("cboType"));
    types->setFocus(Qt::MouseFocusReason);
    types->showPopup();
    QTest::keyClick(types->view(), Qt::Key_Escape);
    EXPECT_EQ(focus(), "txtChangeTo");
}

// ---- Painting on a full tape ---------------------------------------------------------

// Counts the rows each paint of the tape covers.
class PaintedRows : public QObject {
  public:
    explicit PaintedRows(TapeListView& list) : list_(list) {
        list.viewport()->installEventFilter(this);
    }
    int rows = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            rows += (r.height() + list_.rowHeight() - 1) / list_.rowHeight();
        }
        return false;
    }

  private:
    TapeListView& list_;
};

// Counts the paints of one widget.
class Paints : public QObject {
  public:
    explicit Paints(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

TEST_F(WindowHarness, KeyOnFullTapePaintsOnlyWhatChanged) {
    Calculator& calc = window->calculator();
    for (int i = 0; i < TapeList::kMaxLines; ++i) {
        std::int16_t digit = '1', plus = '+';
        CheckKeyPress(calc, digit);
        CheckKeyPress(calc, plus);
    }
    auto* list = qobject_cast<TapeListView*>(control("lstTape"));
    QCoreApplication::processEvents();
    PaintedRows painted(*list);
    constexpr int kKeys = 20;
    for (int i = 0; i < kKeys; ++i) {
        type("+");
        QCoreApplication::processEvents();
    }
    // The new row and the row that lost the selection; never the page.
    EXPECT_LE(painted.rows, 3 * kKeys);
    EXPECT_GT(painted.rows, 0);

    // What the moved pixels show is what a fresh paint shows.
    QScreen* screen = window->screen();
    const QPoint at = list->viewport()->mapTo(window.get(), QPoint());
    const QImage shown = screen
                             ->grabWindow(window->winId(), at.x(), at.y(),
                                          list->viewport()->width(), list->viewport()->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, fresh);

    // At the bottom a line added and one trimmed leave the scroll bar as it
    // was: it is not repainted. Scrolled away, the key brings the bar back
    // to the bottom, and it shows that.
    QScrollBar* bar = list->verticalScrollBar();
    Paints barPaints(*bar);
    type("+");
    QCoreApplication::processEvents();
    EXPECT_EQ(barPaints.count, 0);
    bar->setValue(0);
    QCoreApplication::processEvents();
    barPaints.count = 0;
    type("+");
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(barPaints.count, 0);
    const QPoint barAt = bar->mapTo(window.get(), QPoint());
    EXPECT_EQ(screen->grabWindow(window->winId(), barAt.x(), barAt.y(), bar->width(), bar->height())
                  .toImage()
                  .convertToFormat(QImage::Format_RGB32),
              bar->grab().toImage().convertToFormat(QImage::Format_RGB32));

    // A recalculation repaints the rows on screen, once.
    painted.rows = 0;
    calc.tape();
    doubleClickLine(0);
    type("5\r");
    QCoreApplication::processEvents();
    EXPECT_LE(painted.rows, 2 * list->fullyVisibleRows() + 4);
}

// A line added to a tape that is not full moves the slider only while the
// tape is short; once the slider is as short as it gets and at the bottom, a
// key leaves the bar looking the same, and it is not repainted.
TEST_F(WindowHarness, ScrollBarRepaintsOnlyWhenItLooksDifferent) {
    auto* list = qobject_cast<TapeListView*>(control("lstTape"));
    QScrollBar* bar = list->verticalScrollBar();
    QScreen* screen = window->screen();
    const auto shownBar = [&] {
        const QPoint at = bar->mapTo(window.get(), QPoint());
        return screen->grabWindow(window->winId(), at.x(), at.y(), bar->width(), bar->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto freshBar = [&] {
        return bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    struct Case {
        int lines;
        bool repainted;
    };
    for (const Case c : {Case{40, true}, Case{2000, false}}) {
        Calculator& calc = window->calculator();
        std::int16_t one = '1', plus = '+';
        CheckKeyPress(calc, one);
        while (calc.tape().count() < c.lines) {
            plus = '+';
            CheckKeyPress(calc, plus);
        }
        QCoreApplication::processEvents();
        Paints barPaints(*bar);
        type("+");
        QCoreApplication::processEvents();
        EXPECT_EQ(barPaints.count > 0, c.repainted) << c.lines << " lines";
        EXPECT_EQ(bar->value(), bar->maximum()) << c.lines << " lines";
        EXPECT_EQ(shownBar(), freshBar()) << c.lines << " lines";
    }
}

}  // namespace
}  // namespace tallyroll
