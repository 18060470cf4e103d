#pragma once
// Tape files: plain UTF-8 text, one tape line per line, exactly as the tape
// shows it. Reading checks the whole file before anything uses it; writing
// and the CSV export turn the tape's lines into the bytes of a file.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tallyroll {

inline constexpr std::size_t kMaxTapeFileBytes = 4 * 1024 * 1024;

// Why a file was refused: the first bad line (counting from 1; 0 for the file
// as a whole) and what is wrong with it.
struct TapeFileError {
    int line = 0;
    std::string reason;
};

// "line 3: <reason>", or the reason alone for the whole file.
std::string Describe(const TapeFileError& error);

// The lines of a tape file, or why it is refused: more than kMaxTapeFileBytes,
// more than TapeList::kMaxLines lines, bytes that are not UTF-8, or a line
// that is not one of the tape's line kinds with a number the recalculation
// reads. A BOM at the start and CRLF line ends are accepted; the line end of
// the last line is optional.
std::variant<std::vector<std::string>, TapeFileError> ReadTapeFile(std::string_view bytes);

// What is wrong with one line ("" when nothing): the line grammar of the tape
// with numbers as the calculator writes them.
std::string CheckTapeFileLine(std::string_view line);

// The bytes of a tape file: every line followed by "\n".
std::string WriteTapeFile(const std::vector<std::string>& lines);

// RFC 4180 CSV (CRLF line ends, UTF-8): a header row, then one row per line
// with its kind, its operator, its amount as an ASCII decimal number and its
// text.
std::string WriteTapeCsv(const std::vector<std::string>& lines);

}  // namespace tallyroll
