#include "text/log_record.h"

#include <cstring>
#include <string_view>

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

namespace {

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

}  // namespace

char* write_record(char* at, const RecordValues& values) {
    // The headings, "souradncie" and the order S before D are what stored
    // logs already hold; they differ from the console on purpose.
    at = put(put(at, "Kartograficke souradnice S, D : \r\nS = "), values.S);
    at = put(put(at, "   D = "), values.D);
    at = put(put(at, "\r\nSfericke souradncie U, V : \r\nU = "), values.U);
    return put(put(put(at, "   V = "), values.V), "\r\n");
}

char* write_record(char* at, const PointResult& r) {
    char text[4][FIXED_ROOM];
    const auto value = [&text](int i, double v) {
        return std::string_view(text[i],
                                static_cast<std::size_t>(write_fixed(text[i], v, 8) - text[i]));
    };
    return write_record(
        at, {value(0, r.cartographic.S * DEG_PER_RAD), value(1, r.cartographic.D * DEG_PER_RAD),
             value(2, r.spherical.U * DEG_PER_RAD), value(3, r.spherical.V)});
}

void append_record(std::string& records, const PointResult& r) {
    char record[RECORD_ROOM];
    records.append(record, static_cast<std::size_t>(write_record(record, r) - record));
}

}  // namespace geochain
