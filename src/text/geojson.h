// The points as one GeoJSON FeatureCollection (RFC 7946), for a web map or
// a GIS program: a Point feature a point, on ETRS89, written point by point.
#pragma once

#include <cstddef>
#include <string_view>

#include "geodesy/records.h"
#include "text/columns.h"
#include "text/table_row.h"

namespace geochain {

inline constexpr std::string_view GEOJSON_START = R"({"type":"FeatureCollection","features":[)";
inline constexpr std::string_view GEOJSON_END = "\n]}\n";

// Decimals of the coordinates' degrees (about a centimetre on the ground)
// and of their height.
inline constexpr int GEOJSON_DEGREE_DECIMALS = 7;
inline constexpr int GEOJSON_HEIGHT_DECIMALS = 4;

// Room that a point's feature needs, by the words it shows.
std::size_t feature_room(const RowWords& words);

// Writes a point's feature at `at`, which has feature_room bytes, after
// ",\n", or "\n" for the first, and returns the end: its coordinates
// [lambda, fi, h] of ETRS89, or no geometry where the line has no height to
// compute them from; its properties the point's number and the rest of its
// line where the layout has them, S-JTSK Y and X, H, and the ETRS89 values
// of a row, each null where it cannot be computed.
char* write_feature(char* at, const Layout& layout, const RowWords& words, const PointResult& r,
                    bool first);

// Bytes as a JSON string, quoted, at `at`, which has json_string_room
// bytes; returns the end: '"', '\' and control bytes escaped, and every
// byte that is no part of well-formed UTF-8 as U+FFFD.
constexpr std::size_t json_string_room(std::size_t bytes) { return 6 * bytes + 2; }
char* write_json_string(char* at, std::string_view bytes);

}  // namespace geochain
