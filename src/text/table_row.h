// One line a point: the words of its input line that name and place it,
// then every quantity the point shows, as a spreadsheet reads them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "geodesy/records.h"
#include "text/columns.h"
#include "text/quantities.h"

namespace geochain {

// The words of a point's line that its row shows as they were written; h
// empty where the line has no height, and with it every value computed
// from one. Back from ETRS89, x and y are its fi and lambda.
struct RowWords {
    std::string_view name, x, y, h, rest;
    // Where the line was a spreadsheet's, the rest as its fields instead,
    // each written back as a field of its own, empty ones included.
    const std::string_view* rest_fields = nullptr;
    std::size_t rest_field_count = 0;
};

// The header line, one ASCII word a column, with its line end: the
// point's number when the layout has one, X, Y and h as read, every
// quantity, and the rest of the line when the layout carries it.
void append_table_header(std::string& text, const Layout& layout);

// Room that a point's row needs, by the words it shows.
std::size_t table_row_room(const RowWords& words);

// Writes a point's row at `at`, which has table_row_room bytes, without its
// line end, and returns the end; each quantity rounded as the report
// rounds it. Separated by tabs, or, with the layout's decimal comma, by
// ';' with decimal commas and text columns quoted as CSV quotes them. Each
// quantity's text is set in `values` as written.
char* write_table_row(char* at, const Layout& layout, const RowWords& words, const PointResult& r,
                      WrittenValues& values);

}  // namespace geochain
