// Reading the operator's entries: whole numbers in the classic "C" syntax,
// with bounded memory whatever the input holds, and the line each entry
// stands on.
#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace geochain {

// Longest entry taken as a number; anything longer is invalid.
inline constexpr std::size_t MAX_ENTRY_CHARS = 4096;

// How much of an entry is kept to be shown back to the user.
inline constexpr std::size_t SHOWN_ENTRY_CHARS = 40;

// The input as the dialogue reads it, and the line its next character is
// on. LF, CR LF and a lone CR each end one line, as editors on Unix, Windows
// and the old Mac OS write them.
struct InputLines;

// Goes on to the next of the files named on the command line: opens it into
// the input's buffer and names it, or is false when none is left or it
// cannot be opened (said in the input's `failure`).
using NextFile = std::function<bool(InputLines&)>;

struct InputLines {
    explicit InputLines(std::streambuf& input) : buf(input) {}

    std::streambuf& buf;
    long line = 1;          // the first line is 1
    bool after_cr = false;  // an LF right after a CR ends no second line
    // Of a line read whole: its bytes, its words, and whether one came
    // before it. Kept here so that their room serves every line.
    std::string text;
    std::string unquoted;  // a spreadsheet's quoted words, off their quotes
    std::vector<std::string_view> words;
    bool fields = false;  // the words are fields of a line split at ';'

    // Of each word split at blanks, the number it is in the plain form, or
    // NaN; empty for a line split as a spreadsheet's.
    std::vector<double> plain;
    bool line_before = false;

    // Of files named on the command line, read one after another through
    // buf: the one read now, as named (empty for standard input alone), how
    // to go on to the next, and why the input ended short of its last.
    std::string_view source;
    NextFile next_file;
    std::string failure;
};

// A run of input bytes as it came, to be shown back: as much of it as was
// kept, and its whole length.
struct Word {
    std::string_view start;
    std::size_t length = 0;
};

enum class EntryKind { number, invalid, end_of_input };

struct Entry {
    EntryKind kind;
    double value;
};

// Parses one whole entry: optional sign, digits with an optional ".", and an
// optional exponent with at least one digit. Beyond the range of a double it
// gives an infinity of its sign; an underflow gives the correctly rounded
// subnormal or signed zero. Independent of every locale.
Entry parse_number(std::string_view text);

// Reads the form surveyors write, [sign] digits [. digits], from p up to
// the first byte that is no part of it, and returns where it stopped; value
// is the number, or NaN where that form needs more than the exact fast path
// (no digit, more than 18, more than 2^53), which parse_number takes.
const char* scan_plain_decimal(const char* p, const char* end, double& value);

// Skips white space (line ends included) and reads the next entry, a run of
// non-blank characters. The blank that ends it stays unread. A DOS
// end-of-file byte (0x1A) where an entry would begin ends the input, as
// does a read error, even right after an entry.
Entry read_number(InputLines& in);

// Skips white space and takes the next character into answer; false at
// the end of the input (a 0x1A byte there included).
bool read_answer(InputLines& in, char& answer);

// Where an entry would begin, DOS and Windows take this byte as the end of
// the file; older Windows tools still end their files with it.
inline constexpr int DOS_END_OF_FILE = 0x1A;

inline bool is_line_end(int c) { return c == '\n' || c == '\r'; }

// Takes c, the next character of the input, counting the line it ends. It
// does not look further: at a terminal, the next line may not be typed yet.
void take_char(InputLines& in, int c);

// True when the input ends here, after a read that failed: what came
// before on the line is cut off, and no line the user meant.
bool cut_by_read_error(InputLines& in);

// Drops everything up to and including the next line end.
void discard_line(InputLines& in);

}  // namespace geochain
