#include "window/commands/TapeJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/Calculator.h"
#include "window/QtView.h"
#include "window/commands/CommandHost.h"

namespace tallyroll {

namespace {

constexpr int kSyncAfterMs = 500;        // of no more writes
constexpr int kSyncAtLeastMs = 5000;     // while writes go on
constexpr qint64 kRoomAhead = 16 << 10;  // disk claimed ahead of the records
constexpr auto kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

std::string PathText(const QString& s) {
    return QDir::toNativeSeparators(s).toStdString();
}

// A window of this or another program holds a lock on the journal it writes;
// the lock goes with the process, however it ends.
bool InUse(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

QFileInfoList Journals(const QString& folder) {
    // Newest first.
    return QDir(folder).entryInfoList({QStringLiteral("*.journal")}, QDir::Files, QDir::Time);
}

// NAME.unreadable, or NAME.unreadable.2 ... when that is taken.
QString AsidePath(const QString& path) {
    QString aside = path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unreadable.") + QString::number(n);
    return aside;
}

}  // namespace

// ---- The folder -----------------------------------------------------------------

QString JournalFolder::DefaultPath() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = !state.isEmpty() && QDir::isAbsolutePath(state)
                             ? state
                             : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/tallyroll"));
}

std::string JournalFolder::Prepare() const {
    namespace fs = std::filesystem;
    const fs::path folder(QFile::encodeName(path_).toStdString());
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    if (ec) return folder.parent_path().string() + ": " + ec.message();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return PathText(path_) + ": " + std::strerror(errno);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return PathText(path_) + ": not a folder";
    // Only its owner may look into it.
    if ((st.st_mode & 0077) != 0 && st.st_uid == ::geteuid()) ::chmod(folder.c_str(), 0700);
    return "";
}

QString JournalFolder::NewJournalPath() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (;;) {
        const QString path = QStringLiteral("%1/tape-%2-%3-%4.journal")
                                 .arg(path_, stamp)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(++serial_);
        if (!QFileInfo::exists(path)) return path;
    }
}

std::vector<KeptJournal> JournalFolder::List(const QString& own,
                                             std::vector<std::string>& problems) const {
    std::vector<KeptJournal> kept;
    for (const QFileInfo& info : Journals(path_)) {
        const QString path = info.absoluteFilePath();
        if (path == own || InUse(path)) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems.push_back("The kept tape " + PathText(path) +
                               " cannot be read: " + file.errorString().toStdString() + ".");
            continue;
        }
        const QByteArray bytes = file.read(kMaxJournalBytes + 1);
        journal::ReadOutcome read;
        if (bytes.size() > kMaxJournalBytes) {
            read.status = journal::ReadStatus::Unreadable;
            read.problem = "it is larger than a journal can be";
        } else {
            read = journal::ReadJournal(std::string_view(bytes.constData(), bytes.size()));
        }
        file.close();
        if (read.status == journal::ReadStatus::Unreadable) {
            // Kept, never deleted: moved out of the way of the next lists.
            const QString aside = AsidePath(path);
            const bool moved = QFile::rename(path, aside);
            problems.push_back(
                "The kept tape " + PathText(path) + " cannot be read (" + read.problem + "); " +
                (moved ? "it was moved to " + PathText(aside) + "." : "it is left as it is."));
            continue;
        }
        if (read.tape.lines.empty()) continue;  // nothing to bring back
        kept.push_back({path, info.lastModified(), std::move(read)});
    }
    return kept;
}

void JournalFolder::Prune() const {
    const QFileInfoList journals = Journals(path_);
    for (qsizetype i = kJournalsKept; i < journals.size(); ++i) {
        const QString path = journals[i].absoluteFilePath();
        if (!InUse(path)) QFile::remove(path);
    }
}

// ---- One window's journal ----------------------------------------------------------

TapeJournal::TapeJournal(CommandHost& window, std::shared_ptr<JournalFolder> folder)
    : window_(window),
      calc_(window.calculator()),
      folder_(std::move(folder)),
      writer_(calc_.tape()) {
    syncTimer_.setSingleShot(true);
    connect(&syncTimer_, &QTimer::timeout, this, &TapeJournal::SyncLater);
    if (!folder_->keeping()) {
        stopped_ = true;
        return;
    }
    writer_.setListener([this] { Changed(); });
    calc_.setTapeWatcher(&writer_);
    // The decimals and the grand total label go with the tape.
    if (QComboBox* decimals = window.controls().cboDecPlace)
        connect(decimals, &QComboBox::currentIndexChanged, this, &TapeJournal::Changed);
    window.view().setGrandTotalListener([this] { Changed(); });
    // What a key changed is written once the key has been handled.
    window.view().setSettledListener([this] {
        if (wanted_) Commit();
    });
    // A window that has gone leaves its tape to the next one.
    window.WhenUnloaded(*this, [this] { Finish(); });
}

TapeJournal::~TapeJournal() {
    closing_ = true;  // no message box from a window that is going
    Finish();
}

void TapeJournal::Finish() {
    window_.view().setGrandTotalListener(nullptr);
    window_.view().setSettledListener(nullptr);
    if (!stopped_) {
        Commit();
        calc_.setTapeWatcher(nullptr);
        stopped_ = true;
    }
    syncTimer_.stop();
    if (!file_.isOpen()) return;
    if (calc_.tape().empty()) {
        // Nothing to bring back: the journal goes with the window.
        CloseFile();
        QFile::remove(path_);
        return;
    }
    Sync();
    // The room made for more records goes; the lock goes with the file, and
    // the tape can be restored elsewhere.
    const std::size_t length = fileBytes_;
    CloseFile();
    QFile::resize(path_, static_cast<qint64>(length));
}

void TapeJournal::Changed() {
    if (wanted_ || stopped_) return;
    wanted_ = true;
    window_.view().settleLater();
}

void TapeJournal::Commit() {
    wanted_ = false;
    if (stopped_) return;
    const int decimals = calc_.decimalPlaces();
    const std::string& label = calc_.captions().lblGrandTotal;
    if (!file_.isOpen() && calc_.tape().empty()) {
        // No line yet: no file. The next write will be a whole file anyway.
        writer_.Take(decimals, label, 0);
        return;
    }
    const journal::JournalWrite w = writer_.Take(decimals, label, fileBytes_);
    if (w.bytes.empty()) return;
    if (!(w.rewrite ? Rewrite(w.bytes) : Append(w.bytes))) return;
    if (w.sync)
        Sync();
    else if (!syncTimer_.isActive())
        syncTimer_.start(kSyncAfterMs);
}

bool TapeJournal::Rewrite(const std::string& bytes) {
    const bool first = path_.isEmpty();
    if (first) {
        if (const std::string why = folder_->Prepare(); !why.empty()) {
            Fail(why);
            return false;
        }
        path_ = folder_->NewJournalPath();
    }
    // The whole file or the old one, never a part: a temporary beside it,
    // then a rename. The rename makes a new file, written on from then.
    CloseFile();
    QSaveFile save(path_);
    if (!save.open(QIODevice::WriteOnly) || !save.setPermissions(kOwnerOnly) ||
        save.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        const std::string why = save.errorString().toStdString();
        save.cancelWriting();
        Fail(why);
        return false;
    }
    if (!save.commit()) {
        Fail(save.errorString().toStdString());
        return false;
    }
    fileBytes_ = bytes.size();
    unsynced_ = false;  // the commit flushed it
    sinceSync_.start();
    if (!OpenForAppend()) return false;
    if (first) folder_->Prune();
    return true;
}

bool TapeJournal::OpenForAppend() {
    file_.setFileName(path_);
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        Fail(file_.errorString().toStdString());
        return false;
    }
    ::fcntl(file_.handle(), F_SETFD, FD_CLOEXEC);
    ::flock(file_.handle(), LOCK_EX | LOCK_NB);  // this window writes it
    return MakeRoom(0);
}

// Claims the disk for the next records and maps them: a key then writes by
// copying into the file's pages, with no call into the system, and the pages
// stay the file's whatever becomes of the program. The reader takes the
// zeros after the last record for room not used yet.
bool TapeJournal::MakeRoom(std::size_t more) {
    const auto needed = static_cast<qint64>(fileBytes_ + more);
    if (map_ && needed <= room_) return true;
    const qint64 room = (needed + kRoomAhead + 4095) / 4096 * 4096;
    if (const int error = ::posix_fallocate(file_.handle(), 0, room); error != 0) {
        Fail(std::strerror(error));
        return false;
    }
    if (map_) file_.unmap(map_);
    map_ = file_.map(0, room);
    if (!map_) {
        Fail(file_.errorString().toStdString());
        return false;
    }
    room_ = room;
    return true;
}

void TapeJournal::CloseFile() {
    if (map_) file_.unmap(map_);
    map_ = nullptr;
    room_ = 0;
    file_.close();
}

bool TapeJournal::Append(const std::string& bytes) {
    if (!MakeRoom(bytes.size())) return false;
    // A kill lands before the copy or after it, or rarely inside it, which
    // the reader drops as a record cut off.
    std::memcpy(map_ + fileBytes_, bytes.data(), bytes.size());
    fileBytes_ += bytes.size();
    unsynced_ = true;
    sinceWrite_.start();
    return true;
}

void TapeJournal::SyncLater() {
    // Half a second after the last write, or every few seconds while writes go on.
    const qint64 quiet = sinceWrite_.isValid() ? sinceWrite_.elapsed() : kSyncAfterMs;
    if (quiet < kSyncAfterMs && sinceSync_.isValid() && sinceSync_.elapsed() < kSyncAtLeastMs) {
        syncTimer_.start(static_cast<int>(kSyncAfterMs - quiet));
        return;
    }
    Sync();
}

void TapeJournal::Sync() {
    syncTimer_.stop();
    if (!unsynced_ || !map_) return;
    unsynced_ = false;
    sinceSync_.start();
    if (::msync(map_, static_cast<std::size_t>(room_), MS_SYNC) != 0) Fail(std::strerror(errno));
}

void TapeJournal::Fail(const std::string& why) {
    // The calculator goes on without a journal; the file keeps what reached it.
    stopped_ = true;
    syncTimer_.stop();
    calc_.setTapeWatcher(nullptr);
    CloseFile();
    if (closing_ || !folder_->FirstFailure()) return;
    window_.view().messageBox(
        kAppTitle,
        "The tape cannot be kept in " + PathText(folder_->path()) + " (" + why +
            "). The calculator goes on, but after a crash this tape cannot be restored.",
        MessageIcon::Warning);
}

}  // namespace tallyroll
