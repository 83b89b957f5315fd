// Forward through the Krovak cone: ellipsoid -> Gauss sphere -> cartographic
// -> polar -> plane grid, the exact formulas (EPSG Guidance Note 7-2,
// method 9819), each the inverse of its stage back to the ellipsoid.
#pragma once

#include "geodesy/constants.h"
#include "geodesy/records.h"

namespace geochain {

// U and V (degrees east of Ferro) of fi, lambda by the Gauss mapping
// exactly: tan(U/2 + 45) = (tan(fi/2 + 45) / (t0^(-1/B) ((1 + e sin fi) /
// (1 - e sin fi))^(e/2)))^B, V = (lambda + Ferro) * alpha.
SphericalCoords to_gauss_sphere(GeographicCoords g, const KrovakProjection& k, const Ellipsoid& e);
// The same from sin fi and cos fi, which a geocentric point gives without
// trigonometry (tan(fi/2 + 45) = (1 + sin fi) / cos fi), and lambda.
SphericalCoords to_gauss_sphere(double sin_fi, double cos_fi, double lambda,
                                const KrovakProjection& k, const Ellipsoid& e);

// S and D about the cartographic pole: sin S = cos a sin U + sin a cos U
// cos dV, sin D = cos U sin dV / cos S, dV the longitude from the pole's.
CartographicCoords to_oblique_cartographic(SphericalCoords s, const KrovakProjection& k);

// X and Y on the plane (southing, westing): ro = rho0 (tan(s0/2 + 45) /
// tan(S/2 + 45))^n, epsilon = n D.
PlanePoint to_krovak_plane(CartographicCoords c, double h, const KrovakProjection& k);

}  // namespace geochain
