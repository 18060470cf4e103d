#include "window/commands/KeyGuide.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <cstdint>
#include <stdexcept>

#include "engine/Calculator.h"
#include "window/AccessKeys.h"
#include "window/KeyTable.h"

namespace tallyroll {

namespace {

// What the keys of the key table do, by the handler they run, in the order
// the guide lists them. `control` is the button of that handler: a command
// that clicks the same button joins its row ("P or Ctrl+P").
struct TypedKeyText {
    void (Calculator::*plain)();
    void (Calculator::*indexed)(std::int16_t);
    std::int16_t index;
    const char* control;
    const char* does;
};

using C = Calculator;
constexpr TypedKeyText kTypedKeys[] = {
    {&C::cmdDecimal_Click, nullptr, 0, "cmdDecimal", "decimal point"},
    {nullptr, &C::cmdOperator_Click, 1, "cmdOperator", "add"},
    {nullptr, &C::cmdOperator_Click, 3, "cmdOperator", "subtract"},
    {nullptr, &C::cmdOperator_Click, 2, "cmdOperator", "multiply (the X key exits!)"},
    {nullptr, &C::cmdOperator_Click, 0, "cmdOperator", "divide"},
    {nullptr, &C::cmdOperator_Click, 4, "cmdOperator",
     "total; a second = closes the calculation into the grand total"},
    {nullptr, &C::cmdFunction_Click, 1, "cmdFunction", "percent of the running total"},
    {&C::cmdBackspace_Click, nullptr, 0, "cmdBackspace", "delete the last digit"},
    {&C::cmdCancelEntry_Click, nullptr, 0, "cmdCancelEntry", "clear entry (CE)"},
    {&C::cmdCancel_Click, nullptr, 0, "cmdCancel",
     "cancel (C); twice in a row also writes and resets the grand total"},
    {&C::cmdGrandTotal_Click, nullptr, 0, "cmdGrandTotal",
     "write the grand total on the tape and start it again from zero"},
    {&C::cmdClear_Click, nullptr, 0, "cmdClear", "clear the tape"},
    {&C::cmdPrint_Click, nullptr, 0, "cmdPrint", "print the tape"},
    {&C::cmdSave_Click, nullptr, 0, "cmdSave", "save the result and close"},
    {&C::cmdClose_Click, nullptr, 0, "cmdClose", "exit the program"},
};

constexpr struct {
    TapeMove move;
    const char* does;
} kMoves[] = {
    {TapeMove::Up, "select the tape line above"},
    {TapeMove::Down, "select the tape line below"},
    {TapeMove::PageUp, "select a page of lines up"},
    {TapeMove::PageDown, "select a page of lines down"},
    {TapeMove::First, "select the first tape line"},
    {TapeMove::Last, "select the last tape line"},
};

bool Runs(const KeyBinding& key, const TypedKeyText& text) {
    if (text.plain) return key.plain == text.plain;
    return key.indexed == text.indexed && key.index == text.index;
}

QString KeyName(std::int16_t code) {
    switch (code) {
        case 8:
            return QStringLiteral("Backspace");
        case 13:
            return QStringLiteral("Enter");
        case 27:
            return QStringLiteral("Escape");
        default:
            return QString(QChar(code));
    }
}

// The keys of one handler: characters before named keys, a lower-case letter
// left out beside its capital ("Letters work in either case").
QStringList TypedKeys(const TypedKeyText& text) {
    QStringList characters, named;
    for (const KeyBinding& key : KeyTable()) {
        if (!Runs(key, text)) continue;
        const QString name = KeyName(key.code);
        if (!IsCharacterKey(name)) {
            named << name;
        } else if (!(name.at(0).isLower() && characters.contains(name.toUpper()))) {
            characters << name;
        }
    }
    return characters + named;
}

QString Portable(const QKeySequence& keys) {
    return keys.toString(QKeySequence::PortableText);
}

// A command without a help text is listed by its menu text: "&Open tape…"
// becomes "open tape".
QString HelpOf(const QAction& action) {
    const QVariant help = action.property("help");
    if (help.isValid()) return help.toString();
    QString text = action.text();
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(u'&').replace(u'\x01', u'&');
    if (text.endsWith(QChar(0x2026))) text.chop(1);
    if (!text.isEmpty()) text[0] = text.at(0).toLower();
    return text;
}

const TypedKeyText* ClickedBy(const QString& commandId) {
    for (const AccessKeyDef& def : AccessKeys()) {
        if (commandId != QLatin1String(def.command.id)) continue;
        for (const TypedKeyText& text : kTypedKeys)
            if (qstrcmp(text.control, def.control) == 0 &&
                (text.indexed ? text.index == def.index : def.index < 0))
                return &text;
    }
    return nullptr;
}

}  // namespace

bool IsCharacterKey(const QString& key) {
    return key.size() == 1;
}

QString KeysText(const KeyGuideRow& row, const std::function<QString(const QString&)>& format) {
    QStringList keys;
    for (const QString& key : row.keys) keys << (format ? format(key) : key);
    if (row.run) return keys.first() + QStringLiteral(" \u2013 ") + keys.last();
    return keys.join(QStringLiteral(" or "));
}

std::vector<KeyGuideRow> KeyGuide(const QWidget& window) {
    std::vector<KeyGuideRow> rows;
    // The digits go by their code, not through the table.
    rows.push_back(
        {true, {QStringLiteral("0"), QStringLiteral("9")}, true, QStringLiteral("digit")});
    for (const TypedKeyText& text : kTypedKeys) {
        const QStringList keys = TypedKeys(text);
        if (keys.isEmpty())
            throw std::logic_error(std::string("no key of the key table runs the handler of ") +
                                   text.control);
        rows.push_back({true, keys, false, QString::fromUtf8(text.does)});
    }
    for (const KeyBinding& key : KeyTable()) {
        bool listed = false;
        for (const TypedKeyText& text : kTypedKeys) listed = listed || Runs(key, text);
        if (!listed)
            throw std::logic_error("the key " + KeyName(key.code).toStdString() +
                                   " of the key table has no text in the key guide");
    }

    // The window's commands, in the order they were added. Three or more in
    // a row with one text are one run of keys ("Ctrl+0 – Ctrl+6").
    std::vector<std::pair<KeyGuideRow, int>> commands;
    for (const QAction* action : window.actions()) {
        QStringList keys;
        for (const QKeySequence& k : action->shortcuts())
            if (!k.isEmpty()) keys << Portable(k);
        if (keys.isEmpty()) continue;  // reached by the menu only
        if (const TypedKeyText* clicked = ClickedBy(action->objectName())) {
            rows[static_cast<std::size_t>(1 + (clicked - std::begin(kTypedKeys)))].keys << keys;
            continue;
        }
        const QString does = HelpOf(*action);
        if (!commands.empty() && commands.back().first.does == does) {
            commands.back().first.keys << keys;
            ++commands.back().second;
        } else {
            commands.push_back({{false, keys, false, does}, 1});
        }
    }
    for (auto& [row, count] : commands) {
        if (count >= 3) {
            row.keys = QStringList{row.keys.first(), row.keys.last()};
            row.run = true;
        }
        rows.push_back(row);
    }

    for (const auto& m : kMoves) {
        QStringList keys;
        for (const MoveKey& key : MoveKeys())
            if (key.move == m.move) keys << Portable(QKeySequence(key.modifiers | key.key));
        if (!keys.isEmpty()) rows.push_back({false, keys, false, QString::fromUtf8(m.does)});
    }
    // What the window routes itself (window/AccessKeys.cpp, window/FrmCalculator.cpp).
    rows.push_back(
        {false,
         {QStringLiteral("Escape")},
         false,
         QStringLiteral("in the correction panel: cancel the correction (Enter saves it)")});
    rows.push_back({false,
                    {QStringLiteral("Tab"), QStringLiteral("Shift+Tab")},
                    false,
                    QStringLiteral("visit the buttons, the list and the tape")});
    return rows;
}

}  // namespace tallyroll
