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
    // The other way: a line holds ETRS89 fi, lambda and h, and the point
    // is computed back to S-JTSK and Bpv by ČÚZK's method.
    bool from_etrs89 = false;
};

PointResult transform_point(PlanePoint p, ChainOptions options);

// ČÚZK's method backwards, from ETRS89 fi, lambda (degrees) and h (GRS80):
// the stages in `etrs89`, and the S-JTSK point it ends in (Y, X and the
// normal height H) as the plane point, with the classic chain from it to
// the sphere (S, D, U, V, as if it had been typed). etrs89.inside is false
// off the quasigeoid or the correction table, and nothing else is set then.
PointResult transform_etrs89_point(GeographicCoords etrs, double h);

}  // namespace geochain
