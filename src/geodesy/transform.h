// The whole chain for one point.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// Runs every stage once, in order, and gathers the results. Keeps no state.
// S-JTSK is the Krovak projection on Bessel 1841.
PointResult transform_point(PlanePoint p, const KrovakProjection& projection = KROVAK,
                            const Ellipsoid& ellipsoid = BESSEL);

// What a run computes beyond the classic chain.
struct ChainOptions {
    // fi on Bessel exactly, in place of the series, and everything that
    // follows from it.
    bool exact = false;
    // The point in ETRS89 by ČÚZK's method, its height taken as H (Bpv).
    bool etrs89 = false;
};

PointResult transform_point(PlanePoint p, ChainOptions options);

}  // namespace geochain
