// The console report of one point: five groups, one per stage of the chain.
#pragma once

#include <iostream>
#include <string>

#include "geodesy/records.h"

namespace geochain {

// The fixed Czech layout, line ends as "\n". Ends right after the Z value,
// with no line end.
std::string report_text(const PointResult& r);

// Writes the report in one piece; an output at a terminal writes each line
// as it ends.
void print_report(const PointResult& r, std::ostream& out = std::cout);

}  // namespace geochain
