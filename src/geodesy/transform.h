// The whole chain for one point.
#pragma once

#include "geodesy/records.h"

namespace geochain {

// Runs every stage once, in order, and gathers the results. Keeps no state.
PointResult transform_point(PlanePoint p);

}  // namespace geochain
