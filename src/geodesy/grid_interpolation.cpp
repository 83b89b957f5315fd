#include "geodesy/grid_interpolation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace geochain {

namespace {

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

}  // namespace geochain
