#include "text/log_record.h"

#include "geodesy/constants.h"
#include "text/format_fixed.h"

namespace geochain {

void append_record(std::string& record, const PointResult& r) {
    // The headings, "souradncie" and the order S before D are what stored
    // logs already hold; they differ from the console on purpose.
    record += "Kartograficke souradnice S, D : \r\nS = ";
    append_fixed(record, r.cartographic.S * DEG_PER_RAD, 8);
    record += "   D = ";
    append_fixed(record, r.cartographic.D * DEG_PER_RAD, 8);
    record += "\r\nSfericke souradncie U, V : \r\nU = ";
    append_fixed(record, r.spherical.U * DEG_PER_RAD, 8);
    record += "   V = ";
    append_fixed(record, r.spherical.V, 8);
    record += "\r\n";
}

}  // namespace geochain
