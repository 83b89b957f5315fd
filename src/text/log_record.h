// The text of one point's log record: S, D, U and V in four lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "geodesy/records.h"
#include "text/format_fixed.h"

namespace geochain {

// Room for a record: its fixed text and four values at their longest.
inline constexpr std::size_t RECORD_ROOM = 128 + 4 * FIXED_ROOM;

// The record's values as a report or a row has already written them, S and
// D in degrees, U in degrees, V: each value of a point is formatted once.
struct RecordValues {
    std::string_view S, D, U, V;
};

// Writes the four lines of one point's record, each ended by CR LF, at
// `at`, which has RECORD_ROOM bytes; returns the end.
char* write_record(char* at, const RecordValues& values);
char* write_record(char* at, const PointResult& r);

// The same, appended.
void append_record(std::string& records, const PointResult& r);

}  // namespace geochain
