#include "window/access/Announcer.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <utility>

#include "window/tapeview/TapeModel.h"

namespace tallyroll {

namespace {
constexpr const char* kName = "Announcer";
}

Announcer::Announcer(QWidget& holder, const QLabel& display, const QLabel& grandTotal,
                     const TapeModel& tape)
    : QObject(&holder), holder_(holder), display_(display), grandTotal_(grandTotal), tape_(tape) {
    setObjectName(QString::fromLatin1(kName));
    lastDisplay_ = display.text();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old == &holder_ && Listening()) left_ = true;
        if (now == &holder_) FocusCame();
    });
}

Announcer* Announcer::Of(const QWidget& holder) {
    return holder.findChild<Announcer*>(QString::fromLatin1(kName), Qt::FindDirectChildrenOnly);
}

bool Announcer::Listening() {
    if (!QAccessible::isActive()) return false;
    if (!scheduled_) {
        // Told once the event at hand is handled: a key that clears the
        // display and then shows a digit is heard as the digit only.
        scheduled_ = true;
        QMetaObject::invokeMethod(this, &Announcer::Tell, Qt::QueuedConnection);
    }
    return true;
}

void Announcer::DisplayChanged() {
    Listening();
}

void Announcer::LineAppended(const std::string& line) {
    if (Listening()) pending_.lines.push_back(line);
}

void Announcer::TapeEmptied() {
    if (!Listening()) return;
    pending_.lines.clear();
    pending_.tapeEmptied = true;
}

void Announcer::SelectionChanged(int row) {
    if (!Listening()) return;
    selectionChanged_ = true;
    selectedRow_ = row;
}

void Announcer::GrandTotalChanged() {
    if (Listening()) pending_.grandTotal = grandTotal_.text().toStdString();
}

void Announcer::MemoryChanged(bool inUse) {
    if (Listening()) pending_.memoryInUse = inUse;
}

void Announcer::Note(std::string text) {
    if (Listening()) pending_.notes.push_back(std::move(text));
}

QString Announcer::Display() const {
    return display_.text();
}

QString Announcer::text() const {
    return text_.isEmpty() ? Display() : text_;
}

void Announcer::FocusCame() {
    if (!Listening()) return;
    // Gone and back within one event (a click on the tape parks the focus
    // at once): a screen reader, which asks after the event, never sees it
    // leave, and hears the news as after a key.
    if (std::exchange(left_, false)) return;
    // A screen reader reads the holder as the focus arrives; from then on
    // its text is the display, not selected.
    focusCame_ = true;
    told_ = false;
    text_.clear();
}

void Announcer::Tell() {
    scheduled_ = false;
    left_ = false;
    Announcement a = std::exchange(pending_, {});
    const bool focusCame = std::exchange(focusCame_, false);
    const bool selectionChanged = std::exchange(selectionChanged_, false);
    const QString display = Display();
    const bool newDisplay = display != lastDisplay_;
    lastDisplay_ = display;
    if (!QAccessible::isActive()) return;
    if (!holder_.hasFocus()) {
        // The control that has the focus speaks for itself.
        told_ = false;
        text_.clear();
        return;
    }
    if (newDisplay || focusCame) a.display = display.toStdString();
    if (a.tapeEmptied && tape_.rowCount() > 0) a.tapeEmptied = false;  // lines put back
    // A line a key added is the selected one already; a key that only moved
    // the selection (or put lines back) says which line it selected.
    if (selectionChanged && a.lines.empty() && !a.tapeEmptied) {
        const int count = tape_.rowCount();
        const int row = selectedRow_ < count ? selectedRow_ : -1;
        a.selection = Announcement::Selection{row, count, row >= 0 ? tape_.lineText(row) : ""};
    }
    const std::string sentence = Compose(a);
    if (focusCame) {
        // The screen reader reads the holder for the focus that came: the
        // sentence, starting with the display, is its text, heard once.
        text_ = QString::fromStdString(sentence);
        told_ = false;
        return;
    }
    if (sentence.empty()) return;
    text_ = QString::fromStdString(sentence);
    told_ = true;
    QAccessibleTextInsertEvent inserted(&holder_, 0, text_);
    QAccessible::updateAccessibility(&inserted);
}

}  // namespace tallyroll
