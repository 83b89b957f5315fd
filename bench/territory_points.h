// A fixed spread of points across the territory of S-JTSK (X 935-1230 km,
// Y 430-905 km), the same in every run, for the benchmarks.
#pragma once

#include <vector>

#include "geodesy/records.h"

namespace geochain::bench {

inline std::vector<PlanePoint> territory_points() {
    std::vector<PlanePoint> points;
    for (int i = 0; i < 16; ++i) {
        for (int j = 0; j < 16; ++j) {
            points.push_back({935000.0 + 18437.5 * i + 0.125 * j,
                              431000.0 + 29625.0 * j + 0.375 * i, 150.0 + 10.0 * ((i + j) % 90)});
        }
    }
    return points;
}

}  // namespace geochain::bench
