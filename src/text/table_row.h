// One line a point: the words of its input line that name and place it,
// then every stage of the chain, as a spreadsheet reads them.
#pragma once

#include <string>
#include <string_view>

#include "geodesy/records.h"
#include "text/log_record.h"

namespace geochain {

// The columns a table has beside the values, and its punctuation.
struct TableStyle {
    bool name = false;  // a first column of the point's number or name
    bool rest = false;  // a last column of the rest of its line
    // ';' between the columns and decimal commas, as a Czech spreadsheet
    // reads CSV; otherwise a tab, and the full stop.
    bool decimal_comma = false;
};

// The words of a point's line that its row shows as they were written.
struct RowWords {
    std::string_view name, x, y, h, rest;
};

// The header line, one ASCII word a column, with its line end.
void append_table_header(std::string& text, const TableStyle& style);

// Room that a point's row needs, by the words it shows.
std::size_t table_row_room(const RowWords& words);

// Writes a point's row at `at`, which has table_row_room bytes, without its
// line end, and returns the end: ro, epsilon, S, D, U, V with 8 decimals, fi
// and lambda in decimal degrees with 9, N + h and X, Y, Z with 4, each
// rounded as the report rounds it. Given record, it is set to the log
// record's values as written there, unless the row's decimal point is a
// comma.
char* write_table_row(char* at, const TableStyle& style, const RowWords& words,
                      const PointResult& r, RecordValues* record = nullptr);

// The same row, appended.
void append_table_row(std::string& text, const TableStyle& style, const RowWords& words,
                      const PointResult& r);

}  // namespace geochain
