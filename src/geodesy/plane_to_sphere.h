// Back through the Krovak cone: plane grid -> polar -> cartographic -> spherical.
#pragma once

#include "geodesy/records.h"

namespace geochain {

PolarCoords to_polar(PlanePoint p);
CartographicCoords to_cartographic(PolarCoords polar);
// Writes one arcsine domain report to standard error for each argument
// outside [-1, 1]; that arcsine is then not-a-number.
SphericalCoords to_spherical(CartographicCoords c);

}  // namespace geochain
