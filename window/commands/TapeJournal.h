#pragma once
// Where and when the tapes' journals are written. Each calculator window
// keeps its tape in a file of its own in the user's state folder
// ($XDG_STATE_HOME/tallyroll, else ~/.local/state/tallyroll; the folder 0700,
// the files 0600), made at the first line and written as the tape changes:
// what a key changed is copied into the file's pages, mapped in memory, once
// the key is handled, so a killed program loses at most the key under way. The file reaches the
// disk half a second after typing stops (within five seconds while it goes
// on), at once after a clear, an opened or restored tape and an undo, and
// when the window goes. The newest kJournalsKept journals are kept.

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "journal/Journal.h"

namespace tallyroll {

class Calculator;
class CommandHost;

// A journal of the folder with the tape it rebuilds.
struct KeptJournal {
    QString path;
    QDateTime changed;  // last written
    journal::ReadOutcome read;
};

// The state folder of one run, shared by its windows.
class JournalFolder {
  public:
    static constexpr int kJournalsKept = 10;
    // Journals larger than this are not ours.
    static constexpr qint64 kMaxJournalBytes = 16 << 20;

    // `keep` false: the windows write nothing (--no-journal); the journals
    // already there can still be restored.
    JournalFolder(QString path, bool keep) : path_(std::move(path)), keep_(keep) {}
    // $XDG_STATE_HOME/tallyroll when XDG_STATE_HOME is an absolute path,
    // else ~/.local/state/tallyroll.
    static QString DefaultPath();

    const QString& path() const { return path_; }
    bool keeping() const { return keep_; }

    // Makes the folder (0700) if need be: "" or why it cannot be used.
    std::string Prepare() const;
    // A name for a new window's journal, not used yet.
    QString NewJournalPath();
    // The journals not written by a running window and not `own`, with a tape
    // to restore, newest first. A journal that cannot be read at all is moved
    // aside (renamed to NAME.unreadable); `problems` names each one.
    std::vector<KeptJournal> List(const QString& own, std::vector<std::string>& problems) const;
    // Removes the oldest journals beyond kJournalsKept, never one in use.
    void Prune() const;

    // True the first time only: a failing folder is reported once a run.
    bool FirstFailure() { return !std::exchange(failed_, true); }
    // `tallyroll --restore`: the first calculator window shown restores.
    void restoreAtFirstShow() { restoreAtShow_ = true; }
    bool takeRestoreAtShow() { return std::exchange(restoreAtShow_, false); }

  private:
    QString path_;
    bool keep_;
    bool failed_ = false, restoreAtShow_ = false;
    int serial_ = 0;
};

// The journal of one window's tape, following it through its notices.
class TapeJournal : public QObject {
  public:
    TapeJournal(CommandHost& window, std::shared_ptr<JournalFolder> folder);
    ~TapeJournal() override;  // Finish()
    TapeJournal(const TapeJournal&) = delete;
    TapeJournal& operator=(const TapeJournal&) = delete;

    JournalFolder& folder() { return *folder_; }
    // This window's journal; empty until its first line.
    const QString& path() const { return path_; }
    bool stopped() const { return stopped_; }

    // Writes what changed since the last write (run once a key is handled).
    void Commit();
    // Hands what was written to the disk.
    void Sync();
    // The window has gone (unloaded, or the program ends): writes what is
    // left, to the disk, lets other windows restore the tape and drops the
    // file of an empty tape.
    void Finish();

  private:
    void Changed();
    bool Rewrite(const std::string& bytes);
    bool Append(const std::string& bytes);
    bool OpenForAppend();
    bool MakeRoom(std::size_t more);
    void CloseFile();
    void Fail(const std::string& why);
    void SyncLater();

    CommandHost& window_;
    Calculator& calc_;
    std::shared_ptr<JournalFolder> folder_;
    journal::JournalWriter writer_;
    QString path_;
    QFile file_;
    uchar* map_ = nullptr;  // the file's pages, room_ bytes of them
    qint64 room_ = 0;
    std::size_t fileBytes_ = 0;  // up to the end of the last record
    bool wanted_ = false, stopped_ = false, unsynced_ = false, closing_ = false;
    QTimer syncTimer_;
    QElapsedTimer sinceWrite_, sinceSync_;
};

}  // namespace tallyroll
