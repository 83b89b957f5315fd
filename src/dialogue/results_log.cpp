#include "dialogue/results_log.h"

#include "dialogue/descriptor_io.h"
#include "dialogue/format_fixed.h"
#include "geodesy/constants.h"

namespace geochain {

namespace {

constexpr int LINES_PER_RECORD = 4;

std::string degrees8(double radians) { return format_fixed(radians * DEG_PER_RAD, 8); }

// Where the last record that lies whole within the first `written` bytes ends.
std::size_t end_of_whole_records(const std::string& records, std::size_t written) {
    std::size_t end = 0;
    int lines = 0;
    for (std::size_t i = 0; i < written; ++i) {
        if (records[i] == '\n' && ++lines % LINES_PER_RECORD == 0) {
            end = i + 1;
        }
    }
    return end;
}

}  // namespace

std::string log_record(const PointResult& r) {
    // The headings, "souradncie" and the order S before D are what stored
    // logs already hold; they differ from the console on purpose.
    std::string record = "Kartograficke souradnice S, D : \r\n";
    record += "S = " + degrees8(r.cartographic.S) + "   D = " + degrees8(r.cartographic.D) + "\r\n";
    record += "Sfericke souradncie U, V : \r\n";
    record +=
        "U = " + degrees8(r.spherical.U) + "   V = " + format_fixed(r.spherical.V, 8) + "\r\n";
    return record;
}

void append_records(const std::string& records, const std::string& path) {
    // Append mode puts every write at the end, in one piece, even if another
    // process writes the file too. Never wait for it: a FIFO whose reader
    // stops reading fails the write.
    const int fd = open_for_append(path.c_str());
    if (fd < 0) {
        return;
    }
    const std::size_t written = write_all(fd, records.data(), records.size(), false);
    const std::size_t whole = end_of_whole_records(records, written);
    if (written > whole) {
        take_back(fd, written - whole);
    }
    close_descriptor(fd);
}

void append_log(const PointResult& r, const std::string& path) {
    append_records(log_record(r), path);
}

}  // namespace geochain
