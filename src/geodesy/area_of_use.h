// Where S-JTSK is meant to be used: a point far outside it was most likely
// typed with its coordinates in the wrong order, or in another system.
#pragma once

#include "geodesy/records.h"

namespace geochain {

// EPSG's area of use of S-JTSK (Czechia and Slovakia), 47.73 to 51.06 deg N
// and 12.09 to 22.56 deg E, widened by 0.1 deg on every side so that no
// point of the territory itself lies outside.
inline constexpr double AREA_FI_MIN_DEG = 47.63;
inline constexpr double AREA_FI_MAX_DEG = 51.16;
inline constexpr double AREA_LAMBDA_MIN_DEG = 11.99;
inline constexpr double AREA_LAMBDA_MAX_DEG = 22.66;

// False for a point that could not be computed (not a number) too.
inline bool within_area_of_use(const GeographicCoords& g) {
    return g.fi >= AREA_FI_MIN_DEG && g.fi <= AREA_FI_MAX_DEG && g.lambda >= AREA_LAMBDA_MIN_DEG &&
           g.lambda <= AREA_LAMBDA_MAX_DEG;
}

}  // namespace geochain
