// Reading a file or a pipe of points by its lines: one point a line, its
// words in the order a layout names them, or one word where the question
// "go on?" expects an answer. A line is taken or refused whole, so that a
// word too many or too few never shifts the fields of the points after it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geodesy/records.h"
#include "io/number_input.h"
#include "text/columns.h"

namespace geochain {

// A line is kept up to this length to be split into words; a longer one is
// never a point (its words would be longer than any number), so only its
// length is counted, and memory stays bounded whatever the input holds.
inline constexpr std::size_t MAX_LINE_CHARS = 1 << 16;

enum class LineKind {
    point,         // the layout's words, each coordinate a number
    one_word,      // exactly one word: an answer, where one is expected
    not_a_number,  // the layout's words, one coordinate not a number
    other,         // too few or too many words for the layout
    utf16,         // the first line as bytes of a UTF-16 file
    too_long,      // longer than MAX_LINE_CHARS: never a point, nor an answer
    end_of_input,
};

// One line of the file that holds more than blanks. Its words are views of
// the line as read: they hold until the next line is read.
struct BatchLine {
    LineKind kind = LineKind::end_of_input;
    long number = 0;          // counted in the file itself, from 1
    std::string_view source;  // the file, as named; empty for standard input alone
    PlanePoint point{};       // of a point line; with ETRS89 fi, lambda, its h only
    GeographicCoords etrs{};  // of a point line of ETRS89 fi, lambda
    // Of a point line, as written: X, Y, h ("0" where the layout has none,
    // empty where a height that may be missing is), the point's number or
    // name, and the rest of the line.
    std::string_view x, y, h, name;
    std::string_view fi, lambda;  // of a point line of ETRS89
    std::string rest;             // of a line split at blanks: its words joined by one
    // Of a line split at ';' as a spreadsheet's: the rest as its fields instead,
    // empty ones included (views of its words, as above).
    const std::string_view* rest_fields = nullptr;
    std::size_t rest_field_count = 0;
    Word refused;     // of a not_a_number line: its first coordinate that is not one
    Word text;        // the line from its first to its last non-blank byte
    char answer = 0;  // of a one-word line: its first character
};

// Skips lines that hold only blanks and reads the next line whole; at the
// end of one named file, it goes on with the next, its lines counted from
// 1 and its first line perhaps a header again. A file's last line ends
// with the file. With the decimal comma, a spreadsheet's record goes on
// past a line end inside quotes, and is one line, numbered by its first,
// whatever it spans. A DOS
// end-of-file byte (0x1A) counts as a blank: it ends one DOS file, and files
// joined with cat go on after it. A line that a read error cuts off reads as
// the end of the input.
BatchLine read_batch_line(InputLines& in, const Layout& layout = Layout{});

// True when the input's buffer holds the next line that is not blank whole,
// up to its LF, with no quote that could carry a spreadsheet's record past
// it, and more than a spreadsheet's empty row: reading it waits for
// nothing.
bool next_line_buffered(InputLines& in);

// A point line kept while the lines after it are read: its words copied
// out of the input's buffers, which the next line overwrites. Its room
// serves every line kept in it after. Its words are views of memory it
// owns on the heap: a move keeps them, a copy would not.
struct KeptLine {
    KeptLine() = default;
    KeptLine(KeptLine&&) = default;
    KeptLine& operator=(KeptLine&&) = default;
    KeptLine(const KeptLine&) = delete;
    KeptLine& operator=(const KeptLine&) = delete;
    ~KeptLine() = default;

    BatchLine line;  // the words of a point line, views of `bytes`
    std::vector<char> bytes;
    std::vector<std::string_view> rest_fields;
};
void keep_line(const BatchLine& line, KeptLine& kept);

}  // namespace geochain
