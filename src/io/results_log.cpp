#include "io/results_log.h"

#include <algorithm>
#include <climits>

#include "io/descriptor_io.h"
#include "io/descriptor_streams.h"

namespace geochain {

namespace {

constexpr int LINES_PER_RECORD = 4;

// A write of at most this many bytes to a pipe is whole or nothing (POSIX
// gives at least 512; Linux 4096). Records are 133 bytes in the territory.
#ifdef PIPE_BUF
constexpr std::size_t WHOLE_PIPE_WRITE = PIPE_BUF;
#else
constexpr std::size_t WHOLE_PIPE_WRITE = 512;
#endif

// Where the last record that lies whole within the first `written` bytes
// from `begin` ends, and no further than begin + limit.
std::size_t end_of_whole_records(std::string_view records, std::size_t begin, std::size_t written,
                                 std::size_t limit = std::string_view::npos) {
    const std::string_view within = records.substr(begin, std::min(written, limit));
    std::size_t end = begin;
    int lines = 0;
    for (std::size_t i = within.find('\n'); i != std::string_view::npos;
         i = within.find('\n', i + 1)) {
        if (++lines % LINES_PER_RECORD == 0) {
            end = begin + i + 1;
        }
    }
    return end;
}

// A pipe gets the records in writes that each end with a record and are
// whole or nothing, so that its reader never sees a record cut. It is never
// waited for: what it cannot take at once is lost.
void write_to_pipe(int fd, std::string_view records) {
    for (std::size_t begin = 0; begin < records.size();) {
        const std::size_t end =
            end_of_whole_records(records, begin, records.size() - begin, WHOLE_PIPE_WRITE);
        if (end == begin ||
            write_all(fd, records.data() + begin, end - begin, false) != end - begin) {
            return;
        }
        begin = end;
    }
}

// One appending write; of records cut short by a full disk or a file-size
// limit, only whole ones stay, after the `lead` bytes that begin the text.
void append_whole(int fd, std::string_view text, std::size_t lead) {
    const std::size_t written = write_all(fd, text.data(), text.size(), false);
    if (written == text.size()) {
        return;  // the records come whole: all of them written, all whole
    }
    const std::size_t whole = written < lead ? 0 : end_of_whole_records(text, lead, written - lead);
    if (written > whole) {
        take_back(fd, written - whole);
    }
}

}  // namespace

void append_log(std::string_view records, const std::string& path) {
    // Append mode puts every write at the end, in one piece, even if another
    // process writes the file too. Never wait for it: a FIFO whose reader
    // stops reading fails the write.
    const int fd = open_for_append(path.c_str());
    if (fd < 0) {
        return;
    }
    if (is_pipe(fd)) {
        write_to_pipe(fd, records);
        close_descriptor(fd);
        return;
    }
    lock_for_append(fd);
    const int last = last_byte(fd);
    if (last == '\r') {
        // A record cut between its CR and LF gets only the LF it lacks.
        append_whole(fd, "\n" + std::string(records), 1);
    } else if (last >= 0 && last != '\n') {
        // A line cut before this run (a power cut, a killed process, another
        // program) is ended first, in the same write: no record of ours is
        // ever glued to it.
        append_whole(fd, "\r\n" + std::string(records), 2);
    } else {
        append_whole(fd, records, 0);
    }
    close_descriptor(fd);
}

void put_logged(std::ostream& out, std::string_view text, std::string_view record,
                PendingRecords& log) {
    put_text(out, text);
    const std::streamoff report_end = put_so_far(out);
    if (report_end >= 0) {
        log.text.append(record);
        log.ends.emplace_back(static_cast<std::uint64_t>(report_end), log.text.size());
    }
}

void log_reports_out(PendingRecords& log, std::uint64_t bytes_out) {
    std::size_t reports = 0;
    std::size_t whole = 0;
    for (const auto& [report_end, record_end] : log.ends) {
        if (report_end > bytes_out) {
            break;
        }
        whole = record_end;
        ++reports;
    }
    if (reports == 0) {
        return;
    }
    append_log(std::string_view(log.text).substr(0, whole), log.path);
    log.text.erase(0, whole);
    log.ends.erase(log.ends.begin(), log.ends.begin() + static_cast<std::ptrdiff_t>(reports));
    for (auto& [report_end, record_end] : log.ends) {
        record_end -= whole;
    }
}

}  // namespace geochain
