// The console report of one point: five groups, one per stage of the chain.
#pragma once

#include <iostream>

#include "geodesy/records.h"

namespace geochain {

// Writes the fixed Czech layout, flushing at every line end. Ends right after
// the Z value, with no line end.
void print_report(const PointResult& r, std::ostream& out = std::cout);

}  // namespace geochain
