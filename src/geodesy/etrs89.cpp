#include "geodesy/etrs89.h"

#include <cmath>

#include "geodesy/ellipsoid_to_plane.h"
#include "geodesy/exact_latitude.h"
#include "geodesy/geocentric.h"
#include "geodesy/plane_to_sphere.h"

namespace geochain {

namespace {

// Radians per arc-second: pi / 648000.
constexpr double RAD_PER_ARCSEC = 4.84813681109536e-06;

// The polynomial correction of the Modified Krovak projection at a point
// of the Krovak plane.
void modified_krovak_correction(double Xk, double Yk, const ModifiedKrovak& m, double& dX,
                                double& dY) {
    const double* const C = m.C;
    const double Xr = Xk - m.X0;
    const double Yr = Yk - m.Y0;
    const double Xr2 = Xr * Xr;
    const double Yr2 = Yr * Yr;
    const double Xr4 = Xr2 * Xr2;
    const double Yr4 = Yr2 * Yr2;
    dX = C[0] + C[2] * Xr - C[3] * Yr - 2 * C[5] * Xr * Yr + C[4] * (Xr2 - Yr2) +
         C[6] * Xr * (Xr2 - 3 * Yr2) - C[7] * Yr * (3 * Xr2 - Yr2) +
         4 * C[8] * Xr * Yr * (Xr2 - Yr2) + C[9] * (Xr4 + Yr4 - 6 * Xr2 * Yr2);
    dY = C[1] + C[2] * Yr + C[3] * Xr + 2 * C[4] * Xr * Yr + C[5] * (Xr2 - Yr2) +
         C[7] * Xr * (Xr2 - 3 * Yr2) + C[6] * Yr * (3 * Xr2 - Yr2) -
         4 * C[9] * Xr * Yr * (Xr2 - Yr2) + C[8] * (Xr4 + Yr4 - 6 * Xr2 * Yr2);
}

}  // namespace

PlanePoint from_modified_krovak(double X05, double Y05, double h, const ModifiedKrovak& m) {
    const double Xp = X05 - m.false_northing;
    const double Yp = Y05 - m.false_easting;
    // Xk = Xp + dX(Xk), Yk = Yp + dY(Yk): the correction changes by less
    // than a millionth of a metre per metre, so each step gains six digits:
    // three take a metre's correction below a nanometre.
    double Xk = Xp;
    double Yk = Yp;
    for (int step = 0; step < 3; ++step) {
        double dX = 0.0;
        double dY = 0.0;
        modified_krovak_correction(Xk, Yk, m, dX, dY);
        Xk = Xp + dX;
        Yk = Yp + dY;
    }
    return {Xk, Yk, h};
}

void to_modified_krovak(PlanePoint krovak, const ModifiedKrovak& m, double& X05, double& Y05) {
    double dX = 0.0;
    double dY = 0.0;
    modified_krovak_correction(krovak.X, krovak.Y, m, dX, dY);
    X05 = (krovak.X - dX) + m.false_northing;
    Y05 = (krovak.Y - dY) + m.false_easting;
}

Cartesian helmert_coordinate_frame(Cartesian p, const Helmert& t) {
    const double rx = t.rx * RAD_PER_ARCSEC;
    const double ry = t.ry * RAD_PER_ARCSEC;
    const double rz = t.rz * RAD_PER_ARCSEC;
    const double scale = 1.0 + t.scale_ppm * 1e-6;
    return {scale * (p.X + rz * p.Y - ry * p.Z) + t.tx, scale * (-rz * p.X + p.Y + rx * p.Z) + t.ty,
            scale * (ry * p.X - rx * p.Y + p.Z) + t.tz};
}

Cartesian helmert_rotation_inverse(Cartesian v, const Helmert& t) {
    const double rx = t.rx * RAD_PER_ARCSEC;
    const double ry = t.ry * RAD_PER_ARCSEC;
    const double rz = t.rz * RAD_PER_ARCSEC;
    const double scale = 1.0 + t.scale_ppm * 1e-6;
    const double X = v.X / scale;
    const double Y = v.Y / scale;
    const double Z = v.Z / scale;
    // The rotation matrix is I + W, W the cross product with w = -(rx, ry,
    // rz); its inverse is (I - W + w w^T) / (1 + |w|^2). The transpose
    // alone, I - W, falls up to 0.8 mm short in Czechia (|w|^2 is 1.3e-9).
    const double w_dot_v = rx * X + ry * Y + rz * Z;
    const double norm = 1.0 + (rx * rx + ry * ry + rz * rz);
    return {((X - rz * Y + ry * Z) + rx * w_dot_v) / norm,
            ((rz * X + Y - rx * Z) + ry * w_dot_v) / norm,
            ((-ry * X + rx * Y + Z) + rz * w_dot_v) / norm};
}

Cartesian helmert_coordinate_frame_inverse(Cartesian p, const Helmert& t) {
    return helmert_rotation_inverse({p.X - t.tx, p.Y - t.ty, p.Z - t.tz}, t);
}

GeodeticPoint to_geodetic_point(Cartesian p, const Ellipsoid& e) {
    const double b = e.a * std::sqrt(e.one_minus_e2);
    // From the minor axis; no coordinate on Earth comes near overflowing a
    // square.
    const double distance = std::sqrt(p.X * p.X + p.Y * p.Y);
    // The parametric latitude theta of the point's projection, tan theta =
    // Z a / (distance b), its sine and cosine taken algebraically, then the
    // geodetic latitude from it (e'^2 b = e^2 a^2 / b), its sine and cosine
    // algebraically too.
    const double za = p.Z * e.a;
    const double db = distance * b;
    const double r = std::sqrt(za * za + db * db);
    const double s = za / r;
    const double c = db / r;
    const double across = p.Z + e.e2 / e.one_minus_e2 * b * s * s * s;
    const double along = distance - e.e2 * e.a * c * c * c;
    const double q = std::sqrt(across * across + along * along);
    GeodeticPoint g{};
    g.sin_fi = across / q;
    g.cos_fi = along / q;
    g.sin_lambda = distance > 0.0 ? p.Y / distance : 0.0;
    g.cos_lambda = distance > 0.0 ? p.X / distance : 1.0;
    g.g = {std::atan2(across, along) * DEG_PER_RAD, std::atan2(p.Y, p.X) * DEG_PER_RAD};
    // Along the normal: h = d cos fi + Z sin fi - a sqrt(1 - e^2 sin^2 fi),
    // well conditioned at every latitude.
    g.h = distance * g.cos_fi + p.Z * g.sin_fi - e.a * std::sqrt(1.0 - e.e2 * g.sin_fi * g.sin_fi);
    return g;
}

GeographicCoords to_geodetic(Cartesian p, const Ellipsoid& e) { return to_geodetic_point(p, e).g; }

Etrs89Coords to_etrs89(PlanePoint p) {
    Etrs89Coords r{};
    if (!to_s_jtsk05(p.X, p.Y, CORRECTION_TABLE, r.X05, r.Y05)) {
        return r;
    }
    const PlanePoint krovak = from_modified_krovak(r.X05, r.Y05, p.h, MODIFIED_KROVAK);
    const PolarCoords polar = to_polar(krovak);
    const SphericalCoords spherical = to_spherical(to_cartographic(polar, KROVAK), KROVAK);
    r.bessel05 = to_geographic_exact(spherical, KROVAK, BESSEL);
    const GeocentricCoords bessel = to_geocentric(r.bessel05, p.h, BESSEL);
    const Cartesian etrs =
        helmert_coordinate_frame({bessel.X, bessel.Y, bessel.Z}, S_JTSK05_TO_ETRS89);
    r.geographic = to_geodetic(etrs, GRS80);
    r.zeta = quasigeoid_height(r.geographic, QUASIGEOID);
    r.h = p.h + r.zeta;
    r.geocentric = to_geocentric(r.geographic, r.h, GRS80);
    r.inside = !std::isnan(r.zeta);
    return r;
}

namespace {

double dot(Cartesian a, Cartesian b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

// The point at Bessel height H on the ETRS89 normal through the point
// whose geocentric coordinates are given, back through the Helmert
// transformation: the way there takes H as the height on Bessel, so that a
// round trip comes back to the same fi05, lambda05. The normal is a
// straight line on either side; where it meets height H, the Bessel normal
// lies within 1e-4 rad of it, and a first-order step from the given point
// is exact to well under a nanometre for the tens of metres between them.
GeodeticPoint bessel_at_height(const GeocentricCoords& etrs, double h, double H) {
    const Cartesian on_normal =
        helmert_coordinate_frame_inverse({etrs.X, etrs.Y, etrs.Z}, S_JTSK05_TO_ETRS89);
    GeodeticPoint g = to_geodetic_point(on_normal, BESSEL);
    // The ETRS89 normal's direction, (cos fi cos l, cos fi sin l, sin fi),
    // from the geocentric coordinates: X / (N + h), Y / (N + h), Z / (N (1 -
    // e^2) + h); then as the Helmert transformation turns it.
    const double across = 1.0 / (etrs.N + h);
    const Cartesian m = helmert_rotation_inverse(
        {etrs.X * across, etrs.Y * across, etrs.Z / (etrs.N * GRS80.one_minus_e2 + h)},
        S_JTSK05_TO_ETRS89);
    const Cartesian up{g.cos_fi * g.cos_lambda, g.cos_fi * g.sin_lambda, g.sin_fi};
    const Cartesian north{-g.sin_fi * g.cos_lambda, -g.sin_fi * g.sin_lambda, g.cos_fi};
    const Cartesian east{-g.sin_lambda, g.cos_lambda, 0.0};
    const double t = (H - g.h) / dot(m, up);  // metres along the normal
    const double w = 1.0 / std::sqrt(1.0 - BESSEL.e2 * g.sin_fi * g.sin_fi);
    const double N = BESSEL.a * w;
    const double M = BESSEL.a * BESSEL.one_minus_e2 * w * w * w;
    const double d_fi = t * dot(m, north) / (M + g.h);
    const double d_lambda = t * dot(m, east) / ((N + g.h) * g.cos_fi);
    g.g.fi += d_fi * DEG_PER_RAD;
    g.g.lambda += d_lambda * DEG_PER_RAD;
    const double sin_fi = g.sin_fi;
    g.sin_fi += g.cos_fi * d_fi;
    g.cos_fi -= sin_fi * d_fi;
    g.h = H;
    return g;
}

}  // namespace

bool from_etrs89(GeographicCoords etrs, double h, Etrs89Coords& r, PlanePoint& s_jtsk) {
    r = Etrs89Coords{};
    r.geographic = etrs;
    r.h = h;
    r.zeta = quasigeoid_height(etrs, QUASIGEOID);
    if (std::isnan(r.zeta)) {
        return false;
    }
    const double H = h - r.zeta;
    r.geocentric = to_geocentric(etrs, h, GRS80);
    const GeodeticPoint bessel = bessel_at_height(r.geocentric, h, H);
    r.bessel05 = bessel.g;
    const GaussSpherePoint sphere =
        to_gauss_sphere(bessel.sin_fi, bessel.cos_fi, bessel.g.lambda, KROVAK, BESSEL);
    const PlanePoint krovak = to_krovak_plane(to_oblique_cartographic(sphere, KROVAK), H, KROVAK);
    to_modified_krovak(krovak, MODIFIED_KROVAK, r.X05, r.Y05);
    if (!from_s_jtsk05(r.X05, r.Y05, CORRECTION_TABLE, s_jtsk.X, s_jtsk.Y)) {
        return false;
    }
    s_jtsk.h = H;
    r.inside = true;
    return true;
}

}  // namespace geochain
