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

char* write_record(char* at, const PointResult& r) {
    // The headings, "souradncie" and the order S before D are what stored
    // logs already hold; they differ from the console on purpose.
    at = put(at, "Kartograficke souradnice S, D : \r\nS = ");
    at = write_fixed(at, r.cartographic.S * DEG_PER_RAD, 8);
    at = write_fixed(put(at, "   D = "), r.cartographic.D * DEG_PER_RAD, 8);
    at = put(at, "\r\nSfericke souradncie U, V : \r\nU = ");
    at = write_fixed(at, r.spherical.U * DEG_PER_RAD, 8);
    at = write_fixed(put(at, "   V = "), r.spherical.V, 8);
    return put(at, "\r\n");
}

void append_record(std::string& records, const PointResult& r) {
    char record[RECORD_ROOM];
    records.append(record, static_cast<std::size_t>(write_record(record, r) - record));
}

}  // namespace geochain
