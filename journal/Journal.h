#pragma once
// The tape's journal: a file that follows the tape as it changes, so that the
// tape can be rebuilt line for line after any end of the program. This part
// knows the format, writes the records and reads them back; which file, when
// it is written and when it reaches the disk is the window's business.
//
//   file    := header frame* zero*       (zeros: room made for more frames)
//   header  := "tallyroll tape journal 1\n"
//   frame   := 'R' length:u32 crc:u32 payload[length]   (little endian; CRC-32 of payload)
//   payload := op+
//   op      := 'C'               the tape emptied
//            | 'A' text          a line added at the end; beyond 32,766 the oldest goes
//            | 'F'               the oldest line removed
//            | 'P' varint text   the line at that position rewritten
//            | 'D' u8            the decimals chosen, plus one (0: none chosen)
//            | 'G' text          the grand total label
//   text    := varint:length bytes[length]
//
// A frame is what changed in one go (a key, a correction, a clear); a reader
// applies whole frames only, so a frame cut off by a kill or damaged on the
// disk is dropped with everything after it. A compacted journal is the header
// and one frame that empties the tape and adds every line.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tape/TapeList.h"

namespace tallyroll::journal {

inline constexpr std::string_view kHeaderPrefix = "tallyroll tape journal ";
inline constexpr int kVersion = 1;
inline constexpr std::size_t kFrameHead = 9;  // 'R', length, CRC
// Longer lines, labels or frames are not the writer's: the frame is damaged.
inline constexpr std::size_t kMaxText = 1024;
inline constexpr std::size_t kMaxFrame = 64u << 20;

std::string Header();
std::uint32_t Crc32(std::string_view bytes);

// What a journal rebuilds: the tape with the decimals and the grand total
// label that went with it.
struct KeptTape {
    std::vector<std::string> lines;
    int decimals = -1;  // -1 when the journal never said
    std::string grandTotalLabel;

    bool operator==(const KeptTape&) const = default;
};

enum class ReadStatus {
    Whole,       // every byte read
    Damaged,     // the tape up to the last whole frame; `dropped` says what followed
    Unreadable,  // not a journal this program can read at all
};

struct ReadOutcome {
    KeptTape tape;
    ReadStatus status = ReadStatus::Whole;
    std::size_t frames = 0;        // whole frames applied
    std::size_t goodBytes = 0;     // up to the end of the last whole frame
    std::size_t droppedBytes = 0;  // what followed it
    std::size_t spareBytes = 0;    // zeros after the last frame: room not used yet
    std::string problem;           // why the rest was dropped, or why nothing could be read
};

ReadOutcome ReadJournal(std::string_view bytes);

// One write for the window to make.
struct JournalWrite {
    std::string bytes;
    bool rewrite = false;  // the whole file (header and a snapshot), not an append
    bool sync = false;     // a clear, an opened or restored tape, an undo: to the disk now
};

// Follows one tape through its notices and collects what changed since the
// last write. A digit key changes no line and so adds nothing; a key that
// adds a line adds one short record.
class JournalWriter : public TapeObserver {
  public:
    // The file is compacted when it would grow past kGrowth times its
    // compacted size plus kSlack bytes.
    static constexpr std::size_t kGrowth = 2;
    static constexpr std::size_t kSlack = 64u << 10;

    explicit JournalWriter(const TapeList& tape) : tape_(tape) { Recount(); }

    // Called after every change that is to be written.
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // Lines changed since the last write.
    bool pending() const { return !payload_.empty() || snapshot_; }

    // The next write to a file now fileBytes long (0: there is no file yet),
    // with the decimals and the grand total label of the calculation now;
    // they are recorded when they changed.
    JournalWrite Take(int decimals, const std::string& grandTotalLabel, std::size_t fileBytes);

    // The whole file for the tape as it stands.
    std::string Snapshot(int decimals, const std::string& grandTotalLabel) const;
    // Its length, without building it.
    std::size_t SnapshotBytes(const std::string& grandTotalLabel) const;

    void tapeAppended() override;
    void tapeAboutToRemoveFirst() override;
    void tapeRemovedFirst() override;
    void tapeCleared() override;
    void tapeLinesChanged(int first, int last) override;
    void tapeReset() override;

  private:
    void Changed() {
        if (listener_) listener_();
    }
    void Recount();

    const TapeList& tape_;
    std::function<void()> listener_;
    std::string payload_;    // ops of the frame under way
    bool snapshot_ = false;  // too much changed: the next write is a snapshot
    bool sync_ = false;
    int writtenDecimals_ = -2;
    bool labelWritten_ = false;
    std::string writtenLabel_;
    // What each line and all of them take in a snapshot, kept as the tape
    // changes, so that a key never counts the whole tape.
    std::deque<std::uint32_t> lineSizes_;
    std::size_t lineBytes_ = 0;
};

// Helpers of the format, for tests and the fuzz target.
std::string Frame(std::string_view payload);
void PutText(std::string& out, std::string_view text);
void PutVarint(std::string& out, std::uint64_t v);

}  // namespace tallyroll::journal
