// Reading the operator's entries: whole numbers in the classic "C" syntax,
// with bounded memory whatever the input holds.
#pragma once

#include <istream>
#include <string_view>

namespace geochain {

// Longest entry taken as a number; anything longer is invalid.
inline constexpr std::size_t MAX_ENTRY_CHARS = 4096;

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

// Skips white space (line ends included) and reads the next entry, a run of
// non-blank characters. The blank that ends it stays unread.
Entry read_number(std::istream& in);

// Skips white space and takes the next character into answer; false at
// the end of the input.
bool read_answer(std::istream& in, char& answer);

// Drops everything up to and including the next line end.
void discard_line(std::istream& in);

}  // namespace geochain
