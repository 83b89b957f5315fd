#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "../in_process.h"
#include "../worked_examples.h"
#include "geodesy/transform.h"
#include "text/log_record.h"
#include "text/table_row.h"

namespace geochain {
namespace {

// The room of a row holds the longest words a line can hold (64 KiB, each
// byte a quote that doubles) and values at their longest (the largest
// doubles): nothing is written past it.
TEST(TableRow, RoomHoldsTheLongestWordsAndValues) {
    const std::string quotes(1 << 16, '"');
    const std::string number(4096, '7');
    const double most = -std::numeric_limits<double>::max();
    PointResult r{};
    r.plane = {most, most, most};
    r.polar = {most, most};
    r.cartographic = {most, most};
    r.spherical = {most, most, 0};
    r.geographic = {most, most};
    r.geocentric = {most, most, most, most};
    Layout layout;
    layout.columns = {Column::name, Column::x, Column::y, Column::h};
    layout.rest = true;
    layout.decimal_comma = true;
    for (const RowWords& words :
         {RowWords{quotes, number, "1", "1", quotes}, RowWords{"1", "1", number, "1", ""},
          RowWords{"1", "1", "1", number, ""}, RowWords{"1", number, number, number, ""}}) {
        const std::size_t room = table_row_room(words);
        std::vector<char> text(room + 4096, '\0');
        WrittenValues values;
        const char* const end = write_table_row(text.data(), layout, words, r, values);
        EXPECT_LE(static_cast<std::size_t>(end - text.data()), room);
        EXPECT_EQ(text[room], '\0');
    }
}

// The log record from a row with decimal commas is the record of the same
// point written on its own, with decimal points.
TEST(TableRow, TheRecordFromARowWithDecimalCommas) {
    Layout layout;
    layout.decimal_comma = true;
    for (const WorkedExample& ex : WORKED_EXAMPLES) {
        const PointResult r = transform_point(
            {std::strtod(ex.typed, nullptr), std::strtod(std::strchr(ex.typed, ' '), nullptr), 0});
        const RowWords words{"", "x", "y", "h", ""};
        std::vector<char> row(table_row_room(words));
        WrittenValues values;
        const std::string text(row.data(), write_table_row(row.data(), layout, words, r, values));
        EXPECT_NE(text.find(','), std::string::npos);
        char record[RECORD_ROOM];
        EXPECT_EQ(std::string(record, write_record(record, r, values)),
                  testing_support::record_of(r));
    }
}

}  // namespace
}  // namespace geochain
