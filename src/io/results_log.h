// The results log: S, D, U and V of every converted point, appended to a
// text file that only ever grows.
#pragma once

#include <string>
#include <string_view>

#include "geodesy/records.h"
#include "text/log_record.h"

namespace geochain {

inline constexpr char LOG_FILE_NAME[] = "fi.txt";

// Appends whole records in one open, one write and one close: the file is
// created if missing (mode 0666 less the umask), never truncated, and never
// waited for. Failures are silent: the log must never disturb the dialogue,
// and the next write simply tries again. Records that a full disk or a
// file-size limit cuts short are taken back, so that the file ends on a
// record boundary; a last line that the file held without its line end is
// ended first. A pipe gets whole records or none.
void append_records(std::string_view records, const std::string& path = LOG_FILE_NAME);

// One point's record, as the operator at a terminal is asked to go on.
void append_log(const PointResult& r, const std::string& path = LOG_FILE_NAME);

}  // namespace geochain
