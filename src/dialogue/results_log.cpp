#include "dialogue/results_log.h"

#include "dialogue/descriptor_io.h"
#include "dialogue/format_fixed.h"
#include "geodesy/constants.h"

namespace geochain {

namespace {

constexpr int LINES_PER_RECORD = 4;

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
    std::string record;
    append_record(record, r);
    append_records(record, path);
}

}  // namespace geochain
