// The whole chain for one point.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// Runs every stage once, in order, and gathers the results. Keeps no state.
// S-JTSK is the Krovak projection on Bessel 1841.
PointResult transform_point(PlanePoint p, const KrovakProjection& projection = KROVAK,
                            const Ellipsoid& ellipsoid = BESSEL);

}  // namespace geochain
