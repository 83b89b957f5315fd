// ČÚZK's two grids interpolated: the correction table from S-JTSK to
// S-JTSK/05 (biquadratic) and back, and the quasigeoid CR-2005 (bilinear).
#pragma once

#include "geodesy/cuzk_grids.h"
#include "geodesy/records.h"

namespace geochain {

// S-JTSK (X southward, Y westward) to S-JTSK/05 by the correction table,
// interpolated biquadratically as its metadata names it (NOAA's method, a
// 3 x 3 window of nodes shifted to the half of the cell the point is in).
// False off the table or where a node of the window has no data.
bool to_s_jtsk05(double X, double Y, const CorrectionTable& table, double& X05, double& Y05);

// The inverse of to_s_jtsk05 by iteration, to a micrometre. The
// interpolation's window moves at every half-cell line, and its offsets
// jump there, by up to this much (metres, over the whole table; a few
// millimetres inside Czechia): a point that falls in such a jump gets the
// point that maps nearest to it, one side of the line. False off the
// table, where a node of the window has no data, or where no step comes
// that near.
inline constexpr double TABLE_LARGEST_JUMP = 0.03;
inline constexpr int MOST_TABLE_STEPS = 10;
bool from_s_jtsk05(double X05, double Y05, const CorrectionTable& table, double& X, double& Y);

// zeta at an ETRS89 point, bilinear; not-a-number off the grid.
double quasigeoid_height(GeographicCoords g, const QuasigeoidGrid& grid);

}  // namespace geochain
