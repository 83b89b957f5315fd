#include "dialogue/results_log.h"

#include "dialogue/descriptor_io.h"
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
    // Append mode puts every record at the end, in one write, even if
    // another process writes the file too. Failures are ignored, but a
    // record that a full disk or a file-size limit cut short is taken back:
    // the next record must start on a record boundary.
    const int fd = open_for_append(path.c_str());
    if (fd < 0) {
        return;
    }
    // Never wait for it: a FIFO whose reader stops reading fails the write.
    const std::size_t written = write_all(fd, record.data(), record.size(), false);
    if (written > 0 && written < record.size()) {
        take_back(fd, written);
    }
    close_descriptor(fd);
}

}  // namespace geochain
