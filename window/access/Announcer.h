#pragma once
// What the calculator tells a screen reader after each key, click or command,
// in one sentence: the display when it changed, the lines the key added to
// the tape, a new grand total, the memory sign, the tape line a key selected.
// The focus holder speaks it (Accessibility.h). Nothing is collected while
// no assistive technology listens.

#include <QObject>
#include <QString>
#include <string>

#include "tape/TapeSpeech.h"

class QLabel;
class QWidget;

namespace tallyroll {

class TapeModel;

class Announcer : public QObject {
  public:
    // A child of the focus holder; display and grandTotal are the labels.
    Announcer(QWidget& holder, const QLabel& display, const QLabel& grandTotal,
              const TapeModel& tape);

    // Notices from the window, while the key's handler runs.
    void DisplayChanged();
    void LineAppended(const std::string& line);
    void TapeEmptied();
    void SelectionChanged(int row);
    void GrandTotalChanged();
    void MemoryChanged(bool inUse);
    void Note(std::string text);

    // What the focus holder's text reads: the display, and, once a key has
    // been handled, what it told. While `told()` the whole text counts as
    // selected, which is what makes a screen reader speak an inserted text
    // on a read-only field; the focus coming back to the holder ends it.
    QString text() const;
    bool told() const { return told_; }

    // The announcer of a focus holder, if it has one.
    static Announcer* Of(const QWidget& holder);

  private:
    bool Listening();
    void FocusCame();
    void Tell();
    QString Display() const;

    QWidget& holder_;
    const QLabel& display_;
    const QLabel& grandTotal_;
    const TapeModel& tape_;
    Announcement pending_;
    bool scheduled_ = false;
    bool displayChanged_ = false, selectionChanged_ = false;
    int selectedRow_ = -1;
    bool focusCame_ = false;  // the holder got the focus while the key was handled
    bool left_ = false;       // the focus left the holder while the key was handled
    QString lastDisplay_;     // the display as last told
    QString text_;
    bool told_ = false;
};

}  // namespace tallyroll
