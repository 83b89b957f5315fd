// The console report of one point: five groups, one per stage of the chain.
#pragma once

#include <cstddef>
#include <iostream>
#include <string>

#include "geodesy/records.h"
#include "text/format_fixed.h"
#include "text/log_record.h"

namespace geochain {

// Room for a report: its fixed text, and fourteen values and four whole
// numbers each at their longest.
inline constexpr std::size_t REPORT_ROOM = 512 + 14 * FIXED_ROOM + std::size_t{4} * 24;

// Writes the fixed Czech layout at `at`, which has REPORT_ROOM bytes, line
// ends as "\n", and returns the end: right after the Z value, with no line
// end. Given values, they are set to the log record's values as written.
char* write_report(char* at, const PointResult& r, RecordValues* values = nullptr);

std::string report_text(const PointResult& r);

// Writes the report in one piece; an output at a terminal writes each line
// as it ends.
void print_report(const PointResult& r, std::ostream& out = std::cout);

}  // namespace geochain
