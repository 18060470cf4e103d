#include "journal/Journal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace tallyroll::journal {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = MakeCrcTable();

std::size_t VarintBytes(std::uint64_t v) {
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

// What a line takes in a snapshot: its op and its text.
std::size_t LineBytes(const std::string& line) {
    return 1 + VarintBytes(line.size()) + line.size();
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// Reads the ops of one payload.
class Ops {
  public:
    explicit Ops(std::string_view payload) : p_(payload) {}
    bool done() const { return at_ >= p_.size(); }
    char op() { return p_[at_++]; }
    std::optional<std::uint64_t> varint() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64 && at_ < p_.size(); shift += 7) {
            const auto b = static_cast<unsigned char>(p_[at_++]);
            v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        return std::nullopt;
    }
    std::optional<std::string_view> text() {
        const auto n = varint();
        if (!n || *n > kMaxText || *n > p_.size() - at_) return std::nullopt;
        const std::string_view t = p_.substr(at_, static_cast<std::size_t>(*n));
        at_ += t.size();
        return t;
    }
    std::optional<unsigned char> byte() {
        if (done()) return std::nullopt;
        return static_cast<unsigned char>(p_[at_++]);
    }

  private:
    std::string_view p_;
    std::size_t at_ = 0;
};

// The state a frame is applied to.
struct Replay {
    std::deque<std::string> lines;
    int decimals = -1;
    std::string label;
};

// Runs the payload's ops: on `into` when given, else only to check that every
// op is whole, known and fits a tape of `count` lines. False stops the reader.
bool RunOps(std::string_view payload, std::size_t count, Replay* into) {
    Ops ops(payload);
    constexpr auto kMax = static_cast<std::size_t>(TapeList::kMaxLines);
    while (!ops.done()) {
        switch (ops.op()) {
            case 'C':
                count = 0;
                if (into) into->lines.clear();
                break;
            case 'A': {
                const auto t = ops.text();
                if (!t) return false;
                if (into) {
                    into->lines.emplace_back(*t);
                    if (into->lines.size() > kMax) into->lines.pop_front();
                }
                count = std::min(count + 1, kMax);
                break;
            }
            case 'F':
                if (count == 0) return false;
                --count;
                if (into) into->lines.pop_front();
                break;
            case 'P': {
                const auto k = ops.varint();
                const auto t = ops.text();
                if (!k || !t || *k >= count) return false;
                if (into) into->lines[static_cast<std::size_t>(*k)] = std::string(*t);
                break;
            }
            case 'D': {
                const auto d = ops.byte();
                if (!d || *d > 7) return false;
                if (into) into->decimals = *d - 1;
                break;
            }
            case 'G': {
                const auto t = ops.text();
                if (!t) return false;
                if (into) into->label = std::string(*t);
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

ReadOutcome Unreadable(std::string why) {
    ReadOutcome out;
    out.status = ReadStatus::Unreadable;
    out.problem = std::move(why);
    return out;
}

}  // namespace

std::string Header() {
    return std::string(kHeaderPrefix) + std::to_string(kVersion) + "\n";
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) c = kCrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void PutVarint(std::string& out, std::uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

void PutText(std::string& out, std::string_view text) {
    PutVarint(out, text.size());
    out.append(text);
}

std::string Frame(std::string_view payload) {
    std::string out;
    out.reserve(kFrameHead + payload.size());
    out.push_back('R');
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    PutU32(out, Crc32(payload));
    out.append(payload);
    return out;
}

ReadOutcome ReadJournal(std::string_view bytes) {
    const std::string header = Header();
    // Nothing, or a first line cut short: a journal killed as it was made.
    if (bytes.size() < header.size() && std::string_view(header).substr(0, bytes.size()) == bytes) {
        ReadOutcome out;
        out.status = bytes.empty() ? ReadStatus::Whole : ReadStatus::Damaged;
        out.droppedBytes = bytes.size();
        if (!bytes.empty()) out.problem = "its first line was cut off";
        return out;
    }
    const std::size_t eol = bytes.find('\n');
    if (bytes.substr(0, kHeaderPrefix.size()) != kHeaderPrefix || eol == std::string_view::npos ||
        eol > 64)
        return Unreadable("it is not a tape journal");
    const std::string_view versionText =
        bytes.substr(kHeaderPrefix.size(), eol - kHeaderPrefix.size());
    int version = 0;
    const auto [end, ec] =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), version);
    if (ec != std::errc() || end != versionText.data() + versionText.size() || version < 1)
        return Unreadable("its format is unknown");
    if (version > kVersion)
        return Unreadable("it was written by a newer version (format " + std::to_string(version) +
                          ")");

    ReadOutcome out;
    Replay replay;
    std::size_t at = eol + 1;
    out.goodBytes = at;
    while (at < bytes.size()) {
        const std::size_t left = bytes.size() - at;
        if (bytes[at] == '\0' && bytes.find_first_not_of('\0', at) == std::string_view::npos) {
            out.spareBytes = left;  // room the writer had made ready
            break;
        }
        if (bytes[at] != 'R') {
            out.problem = "damaged bytes";
            break;
        }
        if (left < kFrameHead) {
            out.problem = "a record cut off";
            break;
        }
        const std::size_t length = GetU32(bytes, at + 1);
        if (length == 0 || length > kMaxFrame) {
            out.problem = "damaged bytes";
            break;
        }
        if (left - kFrameHead < length) {
            out.problem = "a record cut off";
            break;
        }
        const std::string_view payload = bytes.substr(at + kFrameHead, length);
        if (Crc32(payload) != GetU32(bytes, at + 5)) {
            out.problem = "a damaged record";
            break;
        }
        // A frame goes in whole or not at all.
        if (!RunOps(payload, replay.lines.size(), nullptr)) {
            out.problem = "a record this version cannot read";
            break;
        }
        RunOps(payload, replay.lines.size(), &replay);
        at += kFrameHead + length;
        ++out.frames;
        out.goodBytes = at;
    }
    out.droppedBytes = bytes.size() - out.goodBytes - out.spareBytes;
    out.status = out.droppedBytes ? ReadStatus::Damaged : ReadStatus::Whole;
    out.tape.lines.assign(std::make_move_iterator(replay.lines.begin()),
                          std::make_move_iterator(replay.lines.end()));
    out.tape.decimals = replay.decimals;
    out.tape.grandTotalLabel = std::move(replay.label);
    return out;
}

// ---- Writing ----------------------------------------------------------------------

void JournalWriter::Recount() {
    lineSizes_.clear();
    lineBytes_ = 0;
    for (int i = 0; i < tape_.count(); ++i) {
        lineSizes_.push_back(static_cast<std::uint32_t>(LineBytes(tape_.line(i))));
        lineBytes_ += lineSizes_.back();
    }
}

void JournalWriter::tapeAppended() {
    const std::string& line = tape_.last();
    lineSizes_.push_back(static_cast<std::uint32_t>(LineBytes(line)));
    lineBytes_ += lineSizes_.back();
    if (!snapshot_) {
        payload_.push_back('A');
        PutText(payload_, line);
    }
    Changed();
}

void JournalWriter::tapeAboutToRemoveFirst() {
    if (lineSizes_.empty()) return;
    lineBytes_ -= lineSizes_.front();
    lineSizes_.pop_front();
}

void JournalWriter::tapeRemovedFirst() {
    // A line added to a full tape pushes the oldest off, and the reader does
    // the same; any other removal is written down.
    if (tape_.count() >= TapeList::kMaxLines) return;
    if (!snapshot_) payload_.push_back('F');
    Changed();
}

void JournalWriter::tapeCleared() {
    sync_ = true;
    if (!tape_.empty()) {  // lines assigned at once: an opened or restored tape
        snapshot_ = true;
        payload_.clear();
        Recount();
    } else {
        lineSizes_.clear();
        lineBytes_ = 0;
        if (!snapshot_) payload_.push_back('C');
    }
    Changed();
}

void JournalWriter::tapeLinesChanged(int first, int last) {
    for (int k = std::max(first, 0); k <= last && k < static_cast<int>(lineSizes_.size()); ++k) {
        auto& size = lineSizes_[static_cast<std::size_t>(k)];
        lineBytes_ -= size;
        size = static_cast<std::uint32_t>(LineBytes(tape_.line(k)));
        lineBytes_ += size;
    }
    if (snapshot_) {
        // the next write is a snapshot already
    } else if (2 * (last - first + 1) > tape_.count()) {
        // A recalculation can rewrite the whole tape: a snapshot is shorter.
        snapshot_ = true;
        payload_.clear();
    } else {
        for (int k = first; k <= last; ++k) {
            payload_.push_back('P');
            PutVarint(payload_, static_cast<std::uint64_t>(k));
            PutText(payload_, tape_.line(k));
        }
    }
    Changed();
}

void JournalWriter::tapeReset() {
    // An undo or redo put other lines back.
    snapshot_ = true;
    sync_ = true;
    payload_.clear();
    Recount();
    Changed();
}

std::size_t JournalWriter::SnapshotBytes(const std::string& grandTotalLabel) const {
    return Header().size() + kFrameHead + 1 + lineBytes_ + 2 + 1 +
           VarintBytes(grandTotalLabel.size()) + grandTotalLabel.size();
}

std::string JournalWriter::Snapshot(int decimals, const std::string& grandTotalLabel) const {
    std::string payload;
    payload.reserve(lineBytes_ + 16 + grandTotalLabel.size());
    payload.push_back('C');
    for (int i = 0; i < tape_.count(); ++i) {
        payload.push_back('A');
        PutText(payload, tape_.line(i));
    }
    payload.push_back('D');
    payload.push_back(static_cast<char>(std::clamp(decimals, -1, 6) + 1));
    payload.push_back('G');
    PutText(payload, grandTotalLabel);
    return Header() + Frame(payload);
}

JournalWrite JournalWriter::Take(int decimals, const std::string& grandTotalLabel,
                                 std::size_t fileBytes) {
    decimals = std::clamp(decimals, -1, 6);
    const std::string label = grandTotalLabel.substr(0, kMaxText);
    if (decimals != writtenDecimals_) {
        payload_.push_back('D');
        payload_.push_back(static_cast<char>(decimals + 1));
    }
    if (!labelWritten_ || label != writtenLabel_) {
        payload_.push_back('G');
        PutText(payload_, label);
    }
    JournalWrite w;
    w.sync = sync_;
    bool rewrite = snapshot_ || fileBytes == 0;
    if (!rewrite && !payload_.empty()) {
        std::string frame = Frame(payload_);
        if (payload_.size() > kMaxFrame ||
            fileBytes + frame.size() > kGrowth * SnapshotBytes(label) + kSlack)
            rewrite = true;
        else
            w.bytes = std::move(frame);
    }
    if (rewrite) {
        w.rewrite = true;
        w.bytes = Snapshot(decimals, label);
    }
    payload_.clear();
    snapshot_ = sync_ = false;
    writtenDecimals_ = decimals;
    writtenLabel_ = label;
    labelWritten_ = true;
    return w;
}

}  // namespace tallyroll::journal
