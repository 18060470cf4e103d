// The calculator window as assistive technology sees it: names, roles, the
// focus holder that tells the display, and the tape as a list, with the
// events a screen reader follows.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QTest>
#include <algorithm>
#include <utility>
#include <vector>

#include "WindowHarness.h"
#include "window/AccessibleNames.h"
#include "window/ControlTable.h"

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

// Records what the window tells assistive technology, with it switched on.
class Events {
  public:
    Events() {
        SetActive(true);
        instance_ = this;
        previous_ = QAccessible::installUpdateHandler(&Events::Record);
    }
    ~Events() {
        QAccessible::installUpdateHandler(previous_);
        SetActive(false);
        instance_ = nullptr;
    }
    // Events of `type`, each with the name and description of its source.
    std::vector<std::pair<QString, QString>> of(QAccessible::Event type) const {
        std::vector<std::pair<QString, QString>> out;
        for (const auto& [t, name, description] : seen_)
            if (t == type) out.emplace_back(name, description);
        return out;
    }
    void clear() { seen_.clear(); }

  private:
    static void Record(QAccessibleEvent* e) {
        QAccessibleInterface* i = e->accessibleInterface();
        if (instance_ && i)
            instance_->seen_.push_back(
                {e->type(), i->text(QAccessible::Name), i->text(QAccessible::Description)});
    }
    struct Seen {
        QAccessible::Event type;
        QString name, description;
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

TEST_F(Accessibility, FocusHolderTellsTheDisplay) {
    Events events;
    QAccessibleInterface* holder = Iface(control("picSetFocus"));
    EXPECT_EQ(holder->role(), QAccessible::StaticText);
    EXPECT_EQ(holder->text(QAccessible::Name), QStringLiteral("Result"));
    EXPECT_TRUE(holder->state().focused);
    for (const QChar c : QStringLiteral("12+3=")) {
        type(c);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(holder->text(QAccessible::Description), QStringLiteral("15.00"));
    using Told = std::vector<std::pair<QString, QString>>;
    // One change per key that changes the display, with its final text: "3"
    // clears the display before its digit; "+" leaves "12." as it is.
    const Told told = {{"Result", "1."}, {"Result", "12."}, {"Result", "3."}, {"Result", "15.00"}};
    EXPECT_EQ(events.of(QAccessible::DescriptionChanged), told);
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
    EXPECT_EQ(events.of(QAccessible::NameChanged), (Told{{"+ 5.00", ""}, {"= 8.00", ""}}));
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

}  // namespace
}  // namespace tallyroll
