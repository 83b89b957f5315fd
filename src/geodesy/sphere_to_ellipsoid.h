// From the Krovak reference sphere onto the Bessel 1841 ellipsoid.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// fi from the projection's four-term latitude series about phi0; lambda by scaling V
// and moving the prime meridian from Ferro to Greenwich.
GeographicCoords to_geographic(SphericalCoords s, const KrovakProjection& k);

// lambda alone: V / alpha, less Ferro's longitude west of Greenwich.
double to_longitude(SphericalCoords s, const KrovakProjection& k);

// Degrees, minutes and seconds, each truncated toward zero and carrying the
// sign of the angle. A part that is not a number or does not fit 32 bits
// becomes the most negative 32-bit integer.
Sexagesimal split_sexagesimal(double angle_deg);

}  // namespace geochain
