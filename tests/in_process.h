// Runs of the dialogue and the table inside the test process, on the same
// path as the program's: the output a descriptor (a file), and each report's
// record logged once the output tells it is out. Texts of one point as the
// program writes them, to compare with.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "geodesy/records.h"
#include "io/descriptor_io.h"
#include "io/descriptor_streams.h"
#include "io/results_log.h"
#include "process.h"
#include "text/log_record.h"
#include "text/report.h"
#include "text/table_row.h"

namespace geochain::testing_support {

struct InProcessRun {
    int status;
    std::string out;  // as written to the output's descriptor
    std::string err;
    std::string log;  // dir/"fi.txt" afterwards, which is then removed
};

// run(out, err, log) returns the status; the output goes to dir/"out" in
// blocks, as to a file, and the records to dir/"fi.txt".
template <class Run>
InProcessRun run_in_process(const std::filesystem::path& dir, Run run) {
    const auto out_path = dir / "out";
    const auto log_path = dir / "fi.txt";
    PendingRecords log{log_path.string(), {}, {}};
    const int fd = open_for_append(out_path.string().c_str());
    std::ostringstream err;
    int status = -1;
    {
        DescriptorOutput output(fd, true, nullptr, [&log](std::uint64_t bytes_out) {
            log_reports_out(log, bytes_out);
        });
        std::ostream out(&output);
        status = run(out, err, log);
    }
    close_descriptor(fd);
    InProcessRun result{status, read_file(out_path), err.str(), read_file(log_path)};
    std::filesystem::remove(out_path);
    std::filesystem::remove(log_path);
    return result;
}

inline std::string fixed_text(double value, int decimals) {
    std::vector<char> text(fixed_room(decimals));
    return std::string(text.data(), format_fixed(text.data(), value, decimals));
}

inline std::string report_of(const PointResult& r) {
    std::vector<char> text(REPORT_ROOM);
    WrittenValues values;
    return std::string(text.data(), write_report(text.data(), r, values));
}

// The record of a point formatted on its own, from no report.
inline std::string record_of(const PointResult& r) {
    char text[RECORD_ROOM];
    return std::string(text, write_record(text, r, WrittenValues{}));
}

inline std::string row_of(const Layout& layout, const RowWords& words, const PointResult& r) {
    std::vector<char> text(table_row_room(words));
    WrittenValues values;
    return std::string(text.data(), write_table_row(text.data(), layout, words, r, values));
}

}  // namespace geochain::testing_support
