// The keyboard map the help, the manual page and docs/using.md show: it lists
// every key the window takes, says true things about them, and takes in a
// command added later without anyone writing it out again.
#include <QAction>
#include <QTest>
#include <QTextBrowser>
#include <cctype>

#include "WindowHarness.h"
#include "window/KeyTable.h"
#include "window/commands/HelpWindow.h"
#include "window/commands/KeyGuide.h"

namespace tallyroll {
namespace {

class KeyGuideTest : public WindowHarness {
  protected:
    // The rows whose keys hold `key`.
    std::vector<KeyGuideRow> rowsWith(const QString& key) const {
        std::vector<KeyGuideRow> found;
        for (const KeyGuideRow& row : KeyGuide(*window))
            if (row.keys.contains(key)) found.push_back(row);
        return found;
    }
};

QString Named(std::int16_t code) {
    switch (code) {
        case 8:
            return QStringLiteral("Backspace");
        case 13:
            return QStringLiteral("Enter");
        case 27:
            return QStringLiteral("Escape");
        default:
            return QString(QChar(std::toupper(code)));
    }
}

TEST_F(KeyGuideTest, ListsEveryKeyOfTheKeyTableAmongTheTypedKeys) {
    for (const KeyBinding& key : KeyTable()) {
        bool typed = false;
        for (const KeyGuideRow& row : rowsWith(Named(key.code))) typed = typed || row.typed;
        EXPECT_TRUE(typed) << "key " << key.code;
    }
}

// The guide lists a letter once, under "Letters work in either case".
TEST_F(KeyGuideTest, EveryLetterWorksInEitherCase) {
    for (const KeyBinding& key : KeyTable()) {
        if (!std::isalpha(key.code)) continue;
        const int other = std::islower(key.code) ? std::toupper(key.code) : std::tolower(key.code);
        bool same = false;
        for (const KeyBinding& k : KeyTable())
            same = same || (k.code == other && k.plain == key.plain && k.indexed == key.indexed &&
                            k.index == key.index);
        EXPECT_TRUE(same) << static_cast<char>(key.code) << " has no twin of the other case";
    }
}

TEST_F(KeyGuideTest, EveryShortcutOfTheWindowIsListedOnce) {
    const auto guide = KeyGuide(*window);
    for (const QAction* action : window->actions()) {
        for (const QKeySequence& k : action->shortcuts()) {
            if (k.isEmpty()) continue;
            const QString key = k.toString(QKeySequence::PortableText);
            const auto rows = rowsWith(key);
            if (rows.empty()) {
                // Inside a run (Ctrl+3 of Ctrl+0 – Ctrl+6), which says what it does.
                EXPECT_TRUE(std::any_of(guide.begin(), guide.end(), [&](const KeyGuideRow& r) {
                    return r.run && r.does == action->property("help").toString();
                })) << key.toStdString();
            } else {
                EXPECT_EQ(rows.size(), 1u) << key.toStdString();
            }
        }
    }
}

// A command added to the window later, without a help text of its own, is in
// the guide and the help under its menu text; a button's command joins the
// row of the button's character key.
TEST_F(KeyGuideTest, TakesInCommandsAddedLater) {
    window->AddCommand({"restoreTape", "&Restore Tape\u2026", "Ctrl+Shift+T"}, [] {});
    const auto rows = rowsWith(QStringLiteral("Ctrl+Shift+T"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].does, QStringLiteral("restore Tape"));
    EXPECT_FALSE(rows[0].typed);
    EXPECT_TRUE(HelpText(*window).contains(QStringLiteral("<b>Ctrl+Shift+T</b>")));

    const auto print = rowsWith(QStringLiteral("Ctrl+P"));
    ASSERT_EQ(print.size(), 1u);
    EXPECT_EQ(KeysText(print[0]), QStringLiteral("P or Ctrl+P"));
    EXPECT_TRUE(print[0].typed);
}

// The help window shows the guide, escaped: "<" or "&" in a text stays text.
TEST_F(KeyGuideTest, HelpWindowShowsEveryRow) {
    window->AddCommand({"strange", "&Strange", "Ctrl+Shift+K", "a <b>bold</b> & odd text"}, [] {});
    chord(Qt::Key_F1, Qt::NoModifier);
    auto* help = window->findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    const QString text = help->findChild<QTextBrowser*>()->toPlainText();
    for (const KeyGuideRow& row : KeyGuide(*window)) {
        EXPECT_TRUE(text.contains(KeysText(row))) << KeysText(row).toStdString();
        EXPECT_TRUE(text.contains(row.does)) << row.does.toStdString();
    }
}

}  // namespace
}  // namespace tallyroll
