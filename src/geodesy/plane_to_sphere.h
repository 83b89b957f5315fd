// Back through the Krovak cone: plane grid -> polar -> cartographic -> spherical.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

PolarCoords to_polar(PlanePoint p);
CartographicCoords to_cartographic(PolarCoords polar, const KrovakProjection& k);
// An arcsine argument outside [-1, 1] gives not-a-number, and is counted.
SphericalCoords to_spherical(CartographicCoords c, const KrovakProjection& k);

}  // namespace geochain
