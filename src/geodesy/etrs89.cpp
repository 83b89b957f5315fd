#include "geodesy/etrs89.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geodesy/ellipsoid_to_plane.h"
#include "geodesy/exact_latitude.h"
#include "geodesy/geocentric.h"
#include "geodesy/plane_to_sphere.h"

namespace geochain {

namespace {

// Radians per arc-second: pi / 648000.
constexpr double RAD_PER_ARCSEC = 4.84813681109536e-06;

// The parabola through f(0), f(1), f(2), at t in [0, 2] (NOAA's qterp).
double parabola(double t, double f0, double f1, double f2) {
    const double d0 = f1 - f0;
    const double d1 = f2 - f1;
    return f0 + t * d0 + 0.5 * t * (t - 1.0) * (d1 - d0);
}

// Where a coordinate falls among n nodes: the first of the three nodes
// of its window, and its position from that node in node steps. False off
// the grid.
bool window(double position, int n, int& first, double& t) {
    if (!(position >= 0.0 && position <= n - 1.0)) {
        return false;
    }
    first = static_cast<int>(std::floor(position));
    t = position - first;
    if (first == n - 1) {  // on the last node: the cell before it
        --first;
        t = 1.0;
    }
    // The window is centred on the half cell the point is in.
    if ((t <= 0.5 && first > 0) || first + 2 == n) {
        --first;
        t += 1.0;
    }
    return true;
}

// A sample of the table biquadratically: three parabolas along the rows,
// then one across them.
double biquadratic(const float* samples, int width, int column, int row, double tx, double ty) {
    double along[3];
    for (int j = 0; j < 3; ++j) {
        const float* const f = samples + static_cast<long>(row + j) * width + column;
        along[j] = parabola(tx, f[0], f[1], f[2]);
    }
    return parabola(ty, along[0], along[1], along[2]);
}

// Whether the nine nodes of a window all have data.
bool window_has_data(const float* samples, int width, int column, int row) {
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            if (std::isnan(samples[static_cast<long>(row + j) * width + column + i])) {
                return false;
            }
        }
    }
    return true;
}

// The first node of the last window whose nodes were found to have data.
struct WindowWithData {
    int column = -1;
    int row = -1;
};

// The table's offsets at a point of EPSG:5514's easting and northing, in
// metres, without its constant offset. False off the table or where a node
// of the window has no data; a window found to have data before is not
// looked at again.
bool table_offsets(double easting, double northing, const CorrectionTable& table, double& d_east,
                   double& d_north, WindowWithData& checked) {
    int column = 0;
    int row = 0;
    double tx = 0.0;
    double ty = 0.0;
    if (!window((easting - table.west) / table.step_east, table.width, column, tx) ||
        !window((northing - table.south) / table.step_north, table.height, row, ty)) {
        return false;
    }
    if (column != checked.column || row != checked.row) {
        if (!window_has_data(table.easting_offsets, table.width, column, row) ||
            !window_has_data(table.northing_offsets, table.width, column, row)) {
            return false;
        }
        checked = {column, row};
    }
    d_east = biquadratic(table.easting_offsets, table.width, column, row, tx, ty);
    d_north = biquadratic(table.northing_offsets, table.width, column, row, tx, ty);
    return true;
}

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

bool to_s_jtsk05(double X, double Y, const CorrectionTable& table, double& X05, double& Y05) {
    // The table is in EPSG:5514's easting and northing, -Y and -X.
    const double easting = -Y;
    const double northing = -X;
    double d_east = 0.0;
    double d_north = 0.0;
    WindowWithData none;
    if (!table_offsets(easting, northing, table, d_east, d_north, none)) {
        return false;
    }
    Y05 = -((easting + d_east) + table.constant_offset);
    X05 = -((northing + d_north) + table.constant_offset);
    return true;
}

bool from_s_jtsk05(double X05, double Y05, const CorrectionTable& table, double& X, double& Y) {
    const double east05 = -Y05 - table.constant_offset;
    const double north05 = -X05 - table.constant_offset;
    // easting = east05 - d_east(easting, northing): the offsets change by
    // well under a millimetre per metre, so each step gains three digits or
    // more; a micrometre is reached in two or three.
    double easting = east05;
    double northing = north05;
    // A step's move is how far its point maps from the given one. Where the
    // interpolation jumps at a half-cell line and the given point falls in
    // the jump, no point maps onto it and the steps go to and fro across
    // the line: the point that maps nearest is taken.
    double nearest_east = easting;
    double nearest_north = northing;
    double nearest = HUGE_VAL;
    WindowWithData checked;
    for (int step = 0; step < MOST_TABLE_STEPS; ++step) {
        double d_east = 0.0;
        double d_north = 0.0;
        if (!table_offsets(easting, northing, table, d_east, d_north, checked)) {
            return false;
        }
        const double next_east = east05 - d_east;
        const double next_north = north05 - d_north;
        const double move_east = next_east - easting;
        const double move_north = next_north - northing;
        const double move = move_east * move_east + move_north * move_north;  // squared
        if (move < nearest) {
            nearest = move;
            nearest_east = easting;
            nearest_north = northing;
        }
        easting = next_east;
        northing = next_north;
        if (move < 1e-12) {
            nearest_east = easting;
            nearest_north = northing;
            break;
        }
    }
    if (!(nearest <= TABLE_LARGEST_JUMP * TABLE_LARGEST_JUMP)) {
        return false;
    }
    Y = -nearest_east;
    X = -nearest_north;
    return true;
}

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
    // alone, I - W, would leave half a millimetre at the Earth's radius.
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

double quasigeoid_height(GeographicCoords g, const QuasigeoidGrid& grid) {
    const double x = (g.lambda - grid.west) / grid.step_east;
    const double y = (g.fi - grid.south) / grid.step_north;
    if (!(x >= 0.0 && x <= grid.width - 1.0 && y >= 0.0 && y <= grid.height - 1.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const int column = std::min(static_cast<int>(x), grid.width - 2);
    const int row = std::min(static_cast<int>(y), grid.height - 2);
    const double fx = x - column;
    const double fy = y - row;
    const float* const south = grid.heights + static_cast<long>(row) * grid.width + column;
    const float* const north = south + grid.width;
    return (1.0 - fx) * (1.0 - fy) * south[0] + fx * (1.0 - fy) * south[1] +
           (1.0 - fx) * fy * north[0] + fx * fy * north[1];
}

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
    const Cartesian on_normal = helmert_coordinate_frame_inverse({etrs.X, etrs.Y, etrs.Z},
                                                                 S_JTSK05_TO_ETRS89);
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
