// Forward through the Krovak cone: ellipsoid -> Gauss sphere -> cartographic
// -> polar -> plane grid, the exact formulas (EPSG Guidance Note 7-2,
// method 9819), each the inverse of its stage back to the ellipsoid. Each
// stage hands on the sines and cosines the next one takes, found
// algebraically where the angle itself is shown nowhere.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// A point on the Gauss sphere: its latitude U by sine and cosine, V in
// degrees east of Ferro.
struct GaussSpherePoint {
    double sin_U, cos_U;
    double V;
};

// A point about the cartographic pole: its cartographic latitude S by sine
// and cosine, and its longitude D (radians).
struct ObliquePoint {
    double sin_S, cos_S;
    double D;
};

// fi, lambda by the Gauss mapping exactly: tan(U/2 + 45) = (tan(fi/2 + 45) /
// (t0^(-1/B) ((1 + e sin fi) / (1 - e sin fi))^(e/2)))^B, V = (lambda +
// Ferro) * alpha; from sin fi and cos fi, which a geocentric point gives
// without trigonometry (tan(fi/2 + 45) = (1 + sin fi) / cos fi).
GaussSpherePoint to_gauss_sphere(double sin_fi, double cos_fi, double lambda,
                                 const KrovakProjection& k, const Ellipsoid& e);
GaussSpherePoint to_gauss_sphere(GeographicCoords g, const KrovakProjection& k, const Ellipsoid& e);

// sin S = cos a sin U + sin a cos U cos dV, sin D = cos U sin dV / cos S,
// dV the longitude from the pole's.
ObliquePoint to_oblique_cartographic(GaussSpherePoint s, const KrovakProjection& k);

// X and Y on the plane (southing, westing): ro = rho0 (tan(s0/2 + 45) /
// tan(S/2 + 45))^n, epsilon = n D.
PlanePoint to_krovak_plane(ObliquePoint c, double h, const KrovakProjection& k);

}  // namespace geochain
