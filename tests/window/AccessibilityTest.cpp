// The calculator window as assistive technology sees it: names, roles, the
// focus holder that tells the display, and the tape as a list, with the
// events a screen reader follows.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "WindowHarness.h"
#include "window/access/Accessibility.h"
#include "window/access/AccessibleNames.h"
#include "window/form/ControlTable.h"

namespace tallyroll {
namespace {

QAccessibleInterface* Iface(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

// Switches assistive technology on or off, as a screen reader starting does.
void SetActive(bool active) {
    if (QPlatformAccessibility* a = QGuiApplicationPrivate::platformIntegration()->accessibility())
        a->setActive(active);
}

// Records what the window tells assistive technology, with it switched on:
// what reaches the platform's bridge.
class Events {
  public:
    Events() {
        SetActive(true);
        instance_ = this;
        previous_ = ListenInsteadOfPlatform(&Events::Record);
    }
    ~Events() {
        ListenInsteadOfPlatform(previous_);
        SetActive(false);
        instance_ = nullptr;
    }
    // Events of `type`, each with the name and description of its source.
    std::vector<std::pair<QString, QString>> of(
        QAccessible::Event type, QAccessible::Role role = QAccessible::NoRole) const {
        std::vector<std::pair<QString, QString>> out;
        for (const Seen& e : seen_)
            if (e.type == type && (role == QAccessible::NoRole || e.role == role))
                out.emplace_back(e.name, e.description);
        return out;
    }
    // The texts the inserted-text events of the focus holder carried, in order.
    std::vector<std::string> inserted() const {
        std::vector<std::string> out;
        for (const Seen& e : seen_)
            if (e.type == QAccessible::TextInserted && e.name == QLatin1String("Result"))
                out.push_back(e.text.toStdString());
        return out;
    }
    // Every event of an object named `name`, in order.
    std::vector<QAccessible::Event> from(const QString& name) const {
        std::vector<QAccessible::Event> out;
        for (const Seen& e : seen_)
            if (e.name == name) out.push_back(e.type);
        return out;
    }
    void clear() { seen_.clear(); }

  private:
    static void Record(QAccessibleEvent* e) {
        QAccessibleInterface* i = e->accessibleInterface();
        if (!instance_ || !i) return;
        Seen seen{e->type(),
                  i->role(),
                  i->text(QAccessible::Name),
                  i->text(QAccessible::Description),
                  {}};
        if (e->type() == QAccessible::TextInserted)
            seen.text = static_cast<QAccessibleTextInsertEvent*>(e)->textInserted();
        instance_->seen_.push_back(seen);
    }
    struct Seen {
        QAccessible::Event type;
        QAccessible::Role role;
        QString name, description, text;
    };
    static inline Events* instance_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
    std::vector<Seen> seen_;
};

class Accessibility : public WindowHarness {};

TEST_F(Accessibility, EveryControlOfTheDefinitionHasAName) {
    for (const ControlDef& def : CalculatorControls()) {
        QWidget* w = control(def.name, def.index);
        ASSERT_NE(w, nullptr) << def.name;
        EXPECT_FALSE(Iface(w)->text(QAccessible::Name).isEmpty()) << def.name << " " << def.index;
    }
}

TEST_F(Accessibility, NamesComeFromTheTableAndLeaveCaptionsAlone) {
    struct Row {
        const char* control;
        int index;
        const char* name;
        const char* caption;
    };
    const Row rows[] = {
        {"cmdOperator", 2, "Multiply", "x"},
        {"cmdOperator", 3, "Subtract", "-"},
        {"cmdOperator", 0, "Divide", "/"},
        {"cmdOperator", 4, "Equals", "="},
        {"cmdFunction", 0, "Square root", "Sqr"},
        {"cmdNegitive", -1, "Change sign", "+/-"},
        {"cmdCancel", -1, "Cancel calculation", "&C"},
        {"cmdClear", -1, "Clear tape", "C&lear"},
        {"cmdMemory", 3, "Memory clear", "MC"},
    };
    for (const Row& r : rows) {
        auto* button = qobject_cast<QAbstractButton*>(control(r.control, r.index));
        ASSERT_NE(button, nullptr) << r.control;
        EXPECT_EQ(Iface(button)->text(QAccessible::Name).toStdString(), r.name);
        EXPECT_EQ(button->text().toStdString(), r.caption);
    }
    EXPECT_EQ(control("cmdMemory", 3)->toolTip(), QStringLiteral("Clear"));
    // Every row of the table names a control that exists.
    for (const AccessibleNameDef& def : AccessibleNames()) {
        if (qstrcmp(def.window, "frmCalculator") != 0 || !def.control) continue;
        EXPECT_NE(control(def.control, def.index), nullptr) << def.control << " " << def.index;
    }
}

TEST_F(Accessibility, WindowIsANamedDialog) {
    QAccessibleInterface* w = Iface(window.get());
    EXPECT_EQ(w->role(), QAccessible::Dialog);
    EXPECT_EQ(w->text(QAccessible::Name), QStringLiteral("Calculator"));
}

// What a screen reader hears after each key: the holder's text-inserted
// event carries it, and the text reads as selected until the focus comes back.
struct ToldRow {
    const char* keys;  // typed first
    Qt::Key key;       // then this key, unless Qt::Key_unknown
    Qt::KeyboardModifiers modifiers;
    std::vector<std::string> told;  // what each inserted-text event carried
};

TEST_F(Accessibility, FocusHolderTellsWhatEachKeyDid) {
    Events events;
    QAccessibleInterface* holder = Iface(control("picSetFocus"));
    ASSERT_EQ(holder->role(), QAccessible::EditableText);
    EXPECT_EQ(holder->text(QAccessible::Name), QStringLiteral("Result"));
    EXPECT_TRUE(holder->state().focused);
    EXPECT_TRUE(holder->state().readOnly);
    QAccessibleTextInterface* text = holder->textInterface();
    ASSERT_NE(text, nullptr);
    const ToldRow rows[] = {
        {"12", Qt::Key_unknown, {}, {"1.", "12."}},
        {"+", Qt::Key_unknown, {}, {"plus 12.00"}},  // the display stays "12."
        {"3=", Qt::Key_unknown, {}, {"3.", "15.00, plus 3.00, total 15.00"}},
        {"", Qt::Key_Up, {}, {"line 2 of 3, plus 3.00"}},
        {"", Qt::Key_Home, {}, {"line 1 of 3, plus 12.00"}},
        {"", Qt::Key_Up, {}, {"line 1 of 3, plus 12.00"}},  // at the top: told again
        {"", Qt::Key_F2, {}, {}},                           // the text box speaks for itself
        {"5\r", Qt::Key_unknown, {}, {}},                   // the focus comes back to the holder
        {"", Qt::Key_F9, {}, {"-8.00"}},
        {"=", Qt::Key_unknown, {}, {"0, end of calculation, grand total -8.00"}},
        {"=", Qt::Key_unknown, {}, {}},  // nothing changed
        {"7", Qt::Key_M, Qt::ControlModifier, {"7.", "memory in use"}},
        {"", Qt::Key_L, Qt::ControlModifier, {"memory empty"}},
        {"L", Qt::Key_unknown, {}, {"0, tape empty"}},
        {"", Qt::Key_Up, {}, {"tape empty"}},
    };
    for (const ToldRow& row : rows) {
        events.clear();
        const QString keys = QString::fromLatin1(row.keys);
        for (const QChar c : keys) {
            type(c);
            QCoreApplication::processEvents();
        }
        if (row.key != Qt::Key_unknown) chord(row.key, row.modifiers);
        QCoreApplication::processEvents();
        SCOPED_TRACE(std::string(row.keys) + " " + std::to_string(row.key));
        EXPECT_EQ(events.inserted(), row.told);
        if (row.told.empty() || !holder->state().focused) continue;
        // The holder reads what it told, whole and selected.
        const QString last = QString::fromStdString(row.told.back());
        EXPECT_EQ(text->text(0, text->characterCount()), last);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        EXPECT_EQ(std::pair(start, end), std::pair(0, static_cast<int>(last.size())));
    }
    // Every told text came from the holder.
    for (const auto& [name, description] : events.of(QAccessible::TextInserted))
        EXPECT_EQ(name, QStringLiteral("Result"));
}

TEST_F(Accessibility, FocusComingBackReadsTheDisplayUnselected) {
    Events events;
    type(QStringLiteral("12+"));
    QCoreApplication::processEvents();
    QAccessibleInterface* holder = Iface(control("picSetFocus"));
    QAccessibleTextInterface* text = holder->textInterface();
    ASSERT_EQ(text->selectionCount(), 1);
    key(Qt::Key_Tab);
    QCoreApplication::processEvents();  // a screen reader reads the button
    key(Qt::Key_Backtab);
    QCoreApplication::processEvents();
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("12."));
    EXPECT_EQ(text->selectionCount(), 0);
    // A click keeps the focus where it is: told as a key is.
    events.clear();
    click("cmdNumber", 7);
    QCoreApplication::processEvents();
    EXPECT_EQ(events.inserted(), std::vector<std::string>{"7."});
    EXPECT_EQ(focus(), "picSetFocus");
    // From a control that had the focus, a click brings it back to the
    // holder: the screen reader reads the holder with the focus, so the
    // click's news is its text, once, and not selected.
    key(Qt::Key_Tab);
    QCoreApplication::processEvents();
    events.clear();
    click("cmdOperator", 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(events.inserted().empty());
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("19.00, plus 7.00"));
    EXPECT_EQ(text->selectionCount(), 0);
    // A click on the tape takes the focus and hands it back at once: no
    // screen reader sees it go, so the line it selected is told.
    events.clear();
    clickLine(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(events.inserted(), std::vector<std::string>{"line 1 of 2, plus 12.00"});
}

TEST_F(Accessibility, LabelsNameTheirValues) {
    Events events;
    struct Row {
        const char* keys;
        const char* control;
        const char* name;
    };
    const Row rows[] = {
        {"", "lblResult", "Result 0"},
        {"", "lblMemory", "Memory empty"},
        {"12+", "lblOperator", "Pending operator plus"},
        {"3==", "lblGrandTotal", "Grand total 15.00"},
        {"", "lblOperator", "Pending operator plus"},  // the next calculation's
        {"4-", "lblOperator", "Pending operator minus"},
        {"", "lblResult", "Result 4."},
    };
    for (const Row& r : rows) {
        type(QString::fromLatin1(r.keys));
        EXPECT_EQ(Iface(control(r.control))->text(QAccessible::Name).toStdString(), r.name);
    }
    chord(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(Iface(control("lblMemory"))->text(QAccessible::Name),
              QStringLiteral("Memory in use"));
    key(Qt::Key_Home);
    key(Qt::Key_F2);
    EXPECT_EQ(Iface(control("lblChangeFrom"))->text(QAccessible::Name),
              QStringLiteral("Old number plus 12.00"));
    // Each change is told, so a client does not keep an old name.
    std::vector<QString> renamed;
    for (const auto& [name, description] :
         events.of(QAccessible::NameChanged, QAccessible::StaticText))
        renamed.push_back(name);
    for (const char* name : {"Grand total 15.00", "Memory in use", "Old number plus 12.00",
                             "Pending operator minus", "Result 4."})
        EXPECT_NE(std::find(renamed.begin(), renamed.end(), QString::fromLatin1(name)),
                  renamed.end())
            << name;
}

TEST_F(Accessibility, ChangePanelIsToldByItsFocusOnly) {
    type(QStringLiteral("12+3="));
    key(Qt::Key_Home);
    Events events;
    key(Qt::Key_F2);
    // Filled while hidden, then focused: the box's text and selection are
    // read with the focus, not told before it (a screen reader would take
    // the box for the focus and read its number twice).
    using E = QAccessible::Event;
    const std::vector<E> told = events.from(QStringLiteral("New number"));
    EXPECT_NE(std::find(told.begin(), told.end(), QAccessible::Focus), told.end());
    for (const E e : {QAccessible::TextInserted, QAccessible::TextRemoved, QAccessible::TextUpdated,
                      QAccessible::TextCaretMoved, QAccessible::TextSelectionChanged})
        EXPECT_EQ(std::find(told.begin(), told.end(), e), told.end()) << e;
    // Typing in it is told.
    events.clear();
    type(QStringLiteral("5"));
    const std::vector<E> typed = events.from(QStringLiteral("New number"));
    EXPECT_NE(std::find(typed.begin(), typed.end(), QAccessible::TextInserted), typed.end());
}

TEST_F(Accessibility, TextBoxIsReadWhole) {
    type(QStringLiteral("12.35+3="));
    key(Qt::Key_Home);
    key(Qt::Key_F2);
    QAccessibleInterface* box = Iface(control("txtChangeTo"));
    ASSERT_EQ(box->role(), QAccessible::EditableText);
    QAccessibleTextInterface* text = box->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("12.35"));
    int start = -1, end = -1;
    // One run of attributes for the whole text, wherever it is asked.
    text->attributes(4, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 5));
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(0, 5));
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("New number"));
    EXPECT_TRUE(box->state().editable);
}

TEST_F(Accessibility, TapeTellsItsCurrentLineWhenItGetsTheFocus) {
    type(QStringLiteral("12+3="));
    key(Qt::Key_Up);
    Events events;
    key(Qt::Key_Backtab);  // from the holder back to the tape
    ASSERT_EQ(focus(), "lstTape");
    QCoreApplication::processEvents();
    using Told = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(events.of(QAccessible::Focus, QAccessible::ListItem), (Told{{"+ 3.00", ""}}));
}

TEST_F(Accessibility, TapeIsAListOfItsLines) {
    Events events;
    QAccessibleInterface* list = Iface(control("lstTape"));
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Tape"));
    type(QStringLiteral("12+3="));
    QCoreApplication::processEvents();  // the list selects the newest line once the key is handled
    ASSERT_EQ(list->childCount(), 3);
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* item = list->child(i);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->parent(), list);
        EXPECT_EQ(list->indexOfChild(item), i);
        EXPECT_EQ(item->state().selected, i == 2) << i;
        lines.push_back(item->text(QAccessible::Name).toStdString());
    }
    EXPECT_EQ(lines, tape());
    using Told = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(events.of(QAccessible::ObjectCreated),
              (Told{{"+ 12.00", ""}, {"+ 3.00", ""}, {"= 15.00", ""}}));
}

TEST_F(Accessibility, LinesFollowSelectionAndRecalculation) {
    type(QStringLiteral("12+3="));
    Events events;
    QAccessibleInterface* list = Iface(control("lstTape"));
    QAccessibleInterface* first = list->child(0);
    QAccessibleInterface* second = list->child(1);
    QAccessibleInterface* total = list->child(2);
    for (QAccessibleInterface* line : {first, total}) line->text(QAccessible::Name);  // read
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_TRUE(first->state().selected);
    EXPECT_FALSE(total->state().selected);
    EXPECT_FALSE(events.of(QAccessible::Selection).empty());
    key(Qt::Key_F2);
    type(QStringLiteral("5"));
    key(Qt::Key_Return);
    // The same items, with their new text, and told so.
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("+ 5.00"));
    EXPECT_EQ(total->text(QAccessible::Name), QStringLiteral("= 8.00"));
    // Told for the lines read before that read otherwise now; "+ 3.00" was
    // rewritten as it stood, and never read.
    using Told = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(events.of(QAccessible::NameChanged, QAccessible::ListItem),
              (Told{{"+ 5.00", ""}, {"= 8.00", ""}}));
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("+ 3.00"));
}

TEST_F(Accessibility, ClearedTapeHasNoLines) {
    type(QStringLiteral("1+2+"));
    Events events;
    QAccessibleInterface* list = Iface(control("lstTape"));
    ASSERT_EQ(list->childCount(), 2);
    QAccessibleInterface* item = list->child(1);
    EXPECT_TRUE(item->isValid());
    type(QStringLiteral("L"));
    EXPECT_EQ(list->childCount(), 0);
    EXPECT_EQ(list->child(0), nullptr);
    // Told for the one line a client had asked for.
    EXPECT_EQ(events.of(QAccessible::ObjectDestroyed).size(), 1u);
}

TEST_F(Accessibility, LinesKeepTheirPlaceWhileAFullTapeDropsItsOldest) {
    type(QStringLiteral("1"));
    Calculator& calc = window->calculator();
    while (calc.tape().count() < TapeList::kMaxLines) calc.cmdOperator_Click(1);
    Events events;
    QAccessibleInterface* list = Iface(control("lstTape"));
    QAccessibleInterface* second = list->child(1);
    list->child(0);  // the oldest line, known to the client
    const QString secondText = second->text(QAccessible::Name);
    type(QStringLiteral("2+"));  // one more line: the oldest goes
    QCoreApplication::processEvents();
    ASSERT_EQ(list->childCount(), TapeList::kMaxLines);
    EXPECT_EQ(list->child(0), second);  // the same line, now the first
    EXPECT_EQ(list->indexOfChild(second), 0);
    EXPECT_EQ(second->text(QAccessible::Name), secondText);
    EXPECT_EQ(events.of(QAccessible::ObjectDestroyed).size(), 1u);
    QAccessibleInterface* newest = list->child(TapeList::kMaxLines - 1);
    EXPECT_EQ(newest->text(QAccessible::Name), QStringLiteral("+ 2.00"));
    EXPECT_TRUE(newest->state().selected);
}

// ---- Key echo -------------------------------------------------------------------

// The key presses that reach a control, as the platform's accessibility
// bridge, filtering the application's events, sees them first.
class Presses : public QObject {
  public:
    Presses() { qApp->installEventFilter(this); }
    ~Presses() override { qApp->removeEventFilter(this); }
    bool reached(const QObject* control, QKeyCombination key) const {
        return std::find(seen_.begin(), seen_.end(), std::pair(control, key)) != seen_.end();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            seen_.emplace_back(watched, static_cast<QKeyEvent*>(event)->keyCombination());
        return false;
    }

  private:
    std::vector<std::pair<const QObject*, QKeyCombination>> seen_;
};

struct EchoRow {
    const char* name;
    const char* before;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // what X11 types with the chord
    const char* after;
    const char* display;
    double memory;
};

class KeyEcho : public WindowHarness,
                public ::testing::WithParamInterface<std::tuple<EchoRow, bool>> {};

// With assistive technology active the command's key arrives as a press the
// bridge passes on to the screen reader; without it, Qt's shortcut takes it
// as before. Either way the command runs once.
TEST_P(KeyEcho, CommandKeysReachTheScreenReaderWhileItListens) {
    const auto& [row, listening] = GetParam();
    std::optional<Events> events;
    if (listening) events.emplace();
    type(QString::fromLatin1(row.before));
    Presses presses;
    chord(row.key, row.modifiers, QString::fromLatin1(row.text));
    type(QString::fromLatin1(row.after));
    EXPECT_EQ(display(), row.display);
    EXPECT_EQ(window->calculator().state().dblMemory, row.memory);
    EXPECT_EQ(presses.reached(control("picSetFocus"), QKeyCombination(row.modifiers, row.key)),
              listening);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KeyEcho,
    ::testing::Combine(::testing::Values(EchoRow{"F9", "7", Qt::Key_F9, {}, "", "", "-7.00", 0},
                                         EchoRow{"CtrlT", "16", Qt::Key_T, Qt::ControlModifier,
                                                 "\x14", "", "4.00", 0},
                                         EchoRow{"CtrlShiftM", "6", Qt::Key_M,
                                                 Qt::ControlModifier | Qt::ShiftModifier, "\r", "",
                                                 "6.", -6},
                                         EchoRow{"Ctrl3", "", Qt::Key_3, Qt::ControlModifier, "3",
                                                 "1/3=", "0.333", 0}),
                       ::testing::Bool()),
    [](const auto& p) {
        return std::string(std::get<0>(p.param).name) +
               (std::get<1>(p.param) ? "Listening" : "Alone");
    });

TEST_F(Accessibility, TextBoxKeepsItsOwnChordsWhileAScreenReaderListens) {
    Events events;
    type(QStringLiteral("12+3="));
    key(Qt::Key_Home);
    key(Qt::Key_F2);
    ASSERT_EQ(focus(), "txtChangeTo");
    QApplication::clipboard()->setText(QStringLiteral("42"));
    chord(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(control("txtChangeTo"))->text(), QStringLiteral("42"));
    EXPECT_EQ(display(), "15.00");  // not the calculator's paste
}

}  // namespace
}  // namespace tallyroll
