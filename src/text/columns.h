// How the words of a point's line are laid out and read, and the one table
// of the columns' names: the word of the --columns option, the word that
// messages and a table's header use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geodesy/transform.h"

namespace geochain {

// What each word of a point's line is. A height that may be missing is the
// word at its place only where that word is a number with a decimal mark;
// otherwise the line has none, and the words after it move up.
enum class Column { name, x, y, h, optional_h, skip, fi, lambda };

struct ColumnName {
    Column column;
    std::string_view option;  // in --columns
    std::string_view word;    // in messages and in a table's header
};

inline constexpr ColumnName COLUMN_NAMES[] = {
    {Column::name, "n", "cislo"},
    {Column::x, "x", "X"},
    {Column::y, "y", "Y"},
    {Column::h, "h", "h"},
    {Column::optional_h, "h?", "h?"},
    {Column::skip, "-", "-"},
    // ETRS89 latitude and longitude in decimal degrees, with --from-etrs89.
    {Column::fi, "fi", "fi_etrs"},
    {Column::lambda, "lambda", "lambda_etrs"},
};

// The height's word in a table's header where the line holds ETRS89.
inline constexpr std::string_view ETRS89_HEIGHT_HEADER = "h_etrs";

// The rest of a line after the layout's words: in --columns and messages,
// and in a table's header.
inline constexpr std::string_view REST_OPTION = "...";
inline constexpr std::string_view REST_HEADER = "zbytek";

constexpr std::string_view column_word(Column c) { return COLUMN_NAMES[static_cast<int>(c)].word; }

constexpr bool names_in_place() {
    for (std::size_t i = 0; i < std::size(COLUMN_NAMES); ++i) {
        if (static_cast<std::size_t>(COLUMN_NAMES[i].column) != i) {
            return false;
        }
    }
    return true;
}
static_assert(names_in_place(), "each column's names at its place");

// A points file's or list's lines: which word is what, and how they are
// written. The same rules read a line and write its row.
struct Layout {
    std::vector<Column> columns{Column::x, Column::y, Column::h};
    bool rest = false;  // further words are carried, joined by one blank
    // Numbers take the decimal comma, and a line that holds ';' is split
    // there, as a spreadsheet saves CSV, each field one word, quoted or not.
    // A table then has ';' between its columns and decimal commas.
    bool decimal_comma = false;
    // A first line with no number where the layout has a coordinate is a
    // header, and is skipped.
    bool header_skipped = false;
    // What is computed from each point: with etrs89, the third number of a
    // line is the normal height H, and a row carries the ETRS89 columns;
    // with from_etrs89, a line holds ETRS89 fi, lambda and h.
    ChainOptions chain;
};

// The layout as a line of its words would name them: "X Y h", "cislo Y X h ...".
std::string describe_layout(const Layout& layout);

}  // namespace geochain
