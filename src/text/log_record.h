// The text of one point's log record: S, D, U and V in four lines.
#pragma once

#include <string>

#include "geodesy/records.h"

namespace geochain {

// Appends the four lines of one point's record, each ended by CR LF.
void append_record(std::string& records, const PointResult& r);

}  // namespace geochain
