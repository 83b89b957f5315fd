// Geodetic to geocentric Cartesian coordinates on an ellipsoid.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// N is the prime-vertical radius at fi; X points to Greenwich, Z along the
// minor axis. h is the ellipsoidal height in metres.
GeocentricCoords to_geocentric(GeographicCoords g, double h, const Ellipsoid& e);

}  // namespace geochain
