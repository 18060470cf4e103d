#pragma once
// The keyboard map of the calculator window as a person reads it, worked out
// from the window's own tables: the key table (characters), the commands the
// window holds (Ctrl chords, function keys) and the keys that move along the
// tape. The help window, the manual page and docs/using.md show these rows, so a
// key added to any of those tables appears in all three.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

namespace tallyroll {

struct KeyGuideRow {
    bool typed;        // keys that type a character (the key table), else chords and named keys
    QStringList keys;  // each in QKeySequence's portable text, or the character itself
    bool run;          // keys are the first and last of a run: "Ctrl+0 – Ctrl+6"
    QString does;
};

// Every key of `window`, characters first. Fails (std::logic_error naming the
// key) for a key of the key table that has no text in window/commands/KeyGuide.cpp.
std::vector<KeyGuideRow> KeyGuide(const QWidget& window);

// "C or Escape", "Ctrl+0 – Ctrl+6": the row's keys as one text, each key
// passed through `format` (bold, quoted, escaped) when one is given.
QString KeysText(const KeyGuideRow& row,
                 const std::function<QString(const QString&)>& format = nullptr);

// True for a key that is a character of its own ("+", "E"), not a name.
bool IsCharacterKey(const QString& key);

}  // namespace tallyroll
