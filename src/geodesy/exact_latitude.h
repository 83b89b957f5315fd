// The latitude on the ellipsoid from the spherical latitude U exactly: the
// fixed point of the inverse Gauss mapping, in place of the classic series.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// ((1 + x) / (1 - x))^(e/2) for |x| <= e, the Gauss mapping's factor
// of the eccentricity (x = e sin fi), by series: the same digits on
// every platform, and cheaper than pow.
double eccentric_factor(double x, double ecc);

// The most steps taken; on the territory 5 or 6 suffice.
inline constexpr int MOST_LATITUDE_STEPS = 30;

// fi from U by iteration from fi = U until a step moves it by less than
// 1e-15 rad; lambda as to_geographic gives it. A point that has not
// converged after MOST_LATITUDE_STEPS (not a number, or beyond a pole)
// gets fi not-a-number.
GeographicCoords to_geographic_exact(SphericalCoords s, const KrovakProjection& k,
                                     const Ellipsoid& e);

}  // namespace geochain
