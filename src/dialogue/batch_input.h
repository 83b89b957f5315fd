// Reading a file or a pipe of points by its lines: one point "X Y h" a line,
// or one word where the question "go on?" expects an answer. A line is taken
// or refused whole, so that a word too many or too few never shifts the
// fields of the points after it.
#pragma once

#include "dialogue/number_input.h"
#include "geodesy/records.h"

namespace geochain {

enum class LineKind {
    point,         // exactly three entries, each a number
    one_word,      // exactly one word: an answer, where one is expected
    not_a_number,  // three entries, one of them not a number
    other,         // two, four or more entries
    utf16,         // the first line as bytes of a UTF-16 file
    end_of_input,
};

// One line of the file that holds more than blanks.
struct BatchLine {
    LineKind kind = LineKind::end_of_input;
    long number = 0;     // counted in the file itself, from 1
    PlanePoint point{};  // of a point line
    Word x, y;           // of a point line, as read
    Word refused;        // of a not_a_number line: its first entry that is not one
    Word text;           // the line from its first to its last non-blank byte
    char answer = 0;     // of a one-word line: its first character
};

// Skips lines that hold only blanks and reads the next line whole. A DOS
// end-of-file byte (0x1A) counts as a blank: it ends one DOS file, and files
// joined with cat go on after it. A line that a read error cuts off reads as
// the end of the input.
BatchLine read_batch_line(InputLines& in);

}  // namespace geochain
