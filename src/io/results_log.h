// The results log: S, D, U and V of every converted point, appended to a
// text file that keeps everything it held before the run.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace geochain {

inline constexpr char LOG_FILE_NAME[] = "fi.txt";

// Appends whole records in one open, one write and one close: the file is
// created if missing (mode 0666 less the umask), what it held before is
// never changed, and it is never waited for. Failures are silent: the log must never disturb the
// dialogue, and the next write simply tries again. Records that a full disk or a file-size limit
// cuts short are taken back, so that the file ends on a record boundary; a last line that the file
// held without its line end is ended first. A pipe gets whole records or none.
void append_log(std::string_view records, const std::string& path);

// The log of a run: records that wait until the reports or rows they belong
// to have reached the output whole. A report cut off by a failed write, or
// never written, has none in the log.
struct PendingRecords {
    std::string path;  // the log file
    std::string text;
    // Of each record in text, in order: where its report ends in the
    // output, counted in bytes from the start, and where the record ends in
    // text.
    std::vector<std::pair<std::uint64_t, std::size_t>> ends;
};

// Puts a report or a row into out, then holds its record until the output
// tells that the text is out.
void put_logged(std::ostream& out, std::string_view text, std::string_view record,
                PendingRecords& log);

// Appends, in one append, the records of every report that lies within the
// first bytes_out bytes of the output; the others wait.
void log_reports_out(PendingRecords& log, std::uint64_t bytes_out);

}  // namespace geochain
