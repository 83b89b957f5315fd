#include "geodesy/etrs89.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

}  // namespace

bool to_s_jtsk05(double X, double Y, const CorrectionTable& table, double& X05, double& Y05) {
    // The table is in EPSG:5514's easting and northing, -Y and -X.
    const double easting = -Y;
    const double northing = -X;
    int column = 0;
    int row = 0;
    double tx = 0.0;
    double ty = 0.0;
    if (!window((easting - table.west) / table.step_east, table.width, column, tx) ||
        !window((northing - table.south) / table.step_north, table.height, row, ty) ||
        !window_has_data(table.easting_offsets, table.width, column, row) ||
        !window_has_data(table.northing_offsets, table.width, column, row)) {
        return false;
    }
    const double d_east = biquadratic(table.easting_offsets, table.width, column, row, tx, ty);
    const double d_north = biquadratic(table.northing_offsets, table.width, column, row, tx, ty);
    Y05 = -((easting + d_east) + table.constant_offset);
    X05 = -((northing + d_north) + table.constant_offset);
    return true;
}

PlanePoint from_modified_krovak(double X05, double Y05, double h, const ModifiedKrovak& m) {
    const double Xp = X05 - m.false_northing;
    const double Yp = Y05 - m.false_easting;
    const double* const C = m.C;
    // Xk = Xp + dX(Xk), Yk = Yp + dY(Yk): the correction changes by less
    // than a millionth of a metre per metre, so each step gains six digits:
    // three take a metre's correction below a nanometre.
    double Xk = Xp;
    double Yk = Yp;
    for (int step = 0; step < 3; ++step) {
        const double Xr = Xk - m.X0;
        const double Yr = Yk - m.Y0;
        const double Xr2 = Xr * Xr;
        const double Yr2 = Yr * Yr;
        const double Xr4 = Xr2 * Xr2;
        const double Yr4 = Yr2 * Yr2;
        const double dX = C[0] + C[2] * Xr - C[3] * Yr - 2 * C[5] * Xr * Yr + C[4] * (Xr2 - Yr2) +
                          C[6] * Xr * (Xr2 - 3 * Yr2) - C[7] * Yr * (3 * Xr2 - Yr2) +
                          4 * C[8] * Xr * Yr * (Xr2 - Yr2) + C[9] * (Xr4 + Yr4 - 6 * Xr2 * Yr2);
        const double dY = C[1] + C[2] * Yr + C[3] * Xr + 2 * C[4] * Xr * Yr + C[5] * (Xr2 - Yr2) +
                          C[7] * Xr * (Xr2 - 3 * Yr2) + C[6] * Yr * (3 * Xr2 - Yr2) -
                          4 * C[9] * Xr * Yr * (Xr2 - Yr2) + C[8] * (Xr4 + Yr4 - 6 * Xr2 * Yr2);
        Xk = Xp + dX;
        Yk = Yp + dY;
    }
    return {Xk, Yk, h};
}

Cartesian helmert_coordinate_frame(Cartesian p, const Helmert& t) {
    const double rx = t.rx * RAD_PER_ARCSEC;
    const double ry = t.ry * RAD_PER_ARCSEC;
    const double rz = t.rz * RAD_PER_ARCSEC;
    const double scale = 1.0 + t.scale_ppm * 1e-6;
    return {scale * (p.X + rz * p.Y - ry * p.Z) + t.tx, scale * (-rz * p.X + p.Y + rx * p.Z) + t.ty,
            scale * (ry * p.X - rx * p.Y + p.Z) + t.tz};
}

GeographicCoords to_geodetic(Cartesian p, const Ellipsoid& e) {
    const double b = e.a * std::sqrt(e.one_minus_e2);
    // From the minor axis; no coordinate on Earth comes near overflowing a
    // square.
    const double distance = std::sqrt(p.X * p.X + p.Y * p.Y);
    // The parametric latitude theta of the point's projection, tan theta =
    // Z a / (distance b), its sine and cosine taken algebraically, then the
    // geodetic latitude from it (e'^2 b = e^2 a^2 / b).
    const double za = p.Z * e.a;
    const double db = distance * b;
    const double r = std::sqrt(za * za + db * db);
    const double s = za / r;
    const double c = db / r;
    const double fi =
        std::atan2(p.Z + e.e2 / e.one_minus_e2 * b * s * s * s, distance - e.e2 * e.a * c * c * c);
    return {fi * DEG_PER_RAD, std::atan2(p.Y, p.X) * DEG_PER_RAD};
}

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

}  // namespace geochain
