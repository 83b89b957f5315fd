// Geodetic to geocentric Cartesian coordinates on the Bessel 1841 ellipsoid.
#pragma once

#include "geodesy/records.h"

namespace geochain {

// N is the prime-vertical radius at fi; X points to Greenwich, Z along the
// minor axis. h is the ellipsoidal height in metres.
GeocentricCoords to_geocentric(GeographicCoords g, double h);

}  // namespace geochain
