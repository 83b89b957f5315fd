#include "dialogue/results_log.h"

#include <cstdio>

#include "dialogue/format_fixed.h"
#include "geodesy/constants.h"

namespace geochain {

namespace {

std::string degrees8(double radians) { return format_fixed(radians * DEG_PER_RAD, 8); }

}  // namespace

void append_log(const PointResult& r, const std::string& path) {
    // The headings, "souradncie" and the order S before D are what stored
    // logs already hold; they differ from the console on purpose.
    std::string record = "Kartograficke souradnice S, D : \r\n";
    record += "S = " + degrees8(r.cartographic.S) + "   D = " + degrees8(r.cartographic.D) + "\r\n";
    record += "Sfericke souradncie U, V : \r\n";
    record +=
        "U = " + degrees8(r.spherical.U) + "   V = " + format_fixed(r.spherical.V, 8) + "\r\n";
    // Binary append: CR LF written as is on every platform, never a second
    // CR. Append mode puts each record at the end even if another process
    // writes the file too; the mode bits are 0666 reduced by the umask.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        return;
    }
    // One buffered record, written by fclose in one piece.
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
}

}  // namespace geochain
