// ČÚZK's two grids for the S-JTSK to ETRS89 method, as tables in the
// program ((c) ČÚZK - Czech Republic, CC BY 4.0; the files and the script
// that turns them into cuzk_grids.cpp are in data/cz_cuzk/).
#pragma once

namespace geochain {

// The correction table table_-y-x_3_v1710: S-JTSK / Krovak East North
// (EPSG:5514: easting -Y, northing -X) to S-JTSK/05 / Modified Krovak East
// North (EPSG:5516), easting and northing offsets in metres at nodes every
// 2 km, NaN outside Czechia. Its metadata names biquadratic interpolation;
// a constant offset is added to both coordinates after the grid's.
struct CorrectionTable {
    int width;         // nodes west to east
    int height;        // nodes south to north
    double west;       // easting of the first node, metres
    double south;      // northing of the first row
    double step_east;  // metres between nodes
    double step_north;
    double constant_offset;        // metres, added to easting and northing
    const float* easting_offsets;  // row by row, from the south
    const float* northing_offsets;
};

// The quasigeoid CR-2005: zeta, the height of the quasigeoid above the
// ETRS89 (GRS80) ellipsoid, in metres, at nodes every 0.025 deg of
// longitude and 1' of latitude: h = H (Bpv) + zeta. Bilinear.
struct QuasigeoidGrid {
    int width;
    int height;
    double west;       // longitude of the first node, degrees east
    double south;      // latitude of the first row, degrees north
    double step_east;  // degrees between nodes
    double step_north;
    const float* heights;  // row by row, from the south
};

extern const CorrectionTable CORRECTION_TABLE;
extern const QuasigeoidGrid QUASIGEOID;

}  // namespace geochain
