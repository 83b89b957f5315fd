// The results log: S, D, U and V of every converted point, appended to a
// text file that only ever grows.
#pragma once

#include <string>

#include "geodesy/records.h"

namespace geochain {

inline constexpr char LOG_FILE_NAME[] = "fi.txt";

// Opens the log in append mode (created if missing), writes one four-line
// record with CR LF line ends, closes it. Failures are silent: the log must
// never disturb the dialogue, and the next point simply tries again.
void append_log(const PointResult& r, const std::string& path = LOG_FILE_NAME);

}  // namespace geochain
