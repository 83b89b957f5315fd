// Back through the Krovak cone: plane grid -> polar -> cartographic -> spherical.
#pragma once

#include "geodesy/records.h"

namespace geochain {

PolarCoords to_polar(PlanePoint p);
CartographicCoords to_cartographic(PolarCoords polar);
// An arcsine argument outside [-1, 1] gives not-a-number, and is counted.
SphericalCoords to_spherical(CartographicCoords c);

}  // namespace geochain
