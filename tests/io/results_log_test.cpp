#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <sstream>
#include <string>

#include "../in_process.h"
#include "../worked_examples.h"
#include "io/descriptor_io.h"
#include "io/results_log.h"

namespace geochain {
namespace {

// A record cut short is taken back only while it still ends the file: what
// another process appended after it stays.
TEST(ResultsLog, TakesBackOnlyWhatStillEndsTheFile) {
    const testing_support::TempDir dir;
    const std::string path = (dir.path / "fi.txt").string();
    const int ours = open_for_append(path.c_str());
    const int theirs = open_for_append(path.c_str());
    ASSERT_EQ(write_all(ours, "half", 4), 4u);
    ASSERT_EQ(write_all(theirs, "whole\r\n", 7), 7u);
    take_back(ours, 4);
    EXPECT_EQ(testing_support::read_file(path), "halfwhole\r\n");
    take_back(theirs, 7);
    EXPECT_EQ(testing_support::read_file(path), "half");
    close_descriptor(ours);
    close_descriptor(theirs);
}

// A line that the file holds without its line end is ended before the
// first record, so that no record is glued to it; a record cut between its
// CR and its LF gets only the LF.
TEST(ResultsLog, EndsALineCutBeforeTheRun) {
    const std::string cut = RECORD_P.substr(0, RECORD_P.size() - 1);
    const struct {
        std::string before;
        std::string after;
    } cases[] = {
        {"", RECORD_P},
        {RECORD_P, RECORD_P + RECORD_P},
        {"no line end", "no line end\r\n" + RECORD_P},
        {cut, RECORD_P + RECORD_P},
    };
    for (const auto& c : cases) {
        const testing_support::TempDir dir;
        const auto path = dir.path / "fi.txt";
        if (!c.before.empty()) {
            testing_support::write_file(path, c.before);
        }
        append_log(RECORD_P, path.string());
        EXPECT_EQ(testing_support::read_file(path), c.after) << c.before;
    }
}

// Each record goes to the log once the output has taken its report whole,
// and never before: three reports, the output out to the middle of the
// second, then to the end.
TEST(ResultsLog, ARecordOnceItsReportIsOut) {
    const testing_support::TempDir dir;
    PendingRecords log{(dir.path / "fi.txt").string(), {}, {}};
    std::ostringstream out;
    for (const char* report : {"first report\n", "second\n", "third\n"}) {
        put_logged(out, report, std::string(report) + "\r\n", log);
    }
    log_reports_out(log, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "fi.txt"));
    log_reports_out(log, 16);
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"), "first report\n\r\n");
    log_reports_out(log, 26);
    EXPECT_EQ(testing_support::read_file(dir.path / "fi.txt"),
              "first report\n\r\nsecond\n\r\nthird\n\r\n");
    EXPECT_TRUE(log.text.empty());
}

#ifndef _WIN32
TEST(ResultsLog, NewLogGetsMode0666LessTheUmask) {
    for (const mode_t mask : {0, 022}) {
        const testing_support::TempDir dir;
        const mode_t saved = ::umask(mask);
        append_log(RECORD_P, (dir.path / "fi.txt").string());
        ::umask(saved);
        const auto mode = std::filesystem::status(dir.path / "fi.txt").permissions();
        EXPECT_EQ(static_cast<mode_t>(mode), 0666 & ~mask) << "umask " << mask;
    }
}

// fi.txt a FIFO whose reader never reads: it gets whole records until it
// is full, and the rest are lost, as on a full disk; nothing waits for it.
TEST(ResultsLog, AFifoThatIsNotReadGetsWholeRecordsOnly) {
    const testing_support::TempDir dir;
    const auto log = dir.path / "fi.txt";
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
    append_log(times(1000, RECORD_P), log.string());
    std::string taken(1 << 20, '\0');
    taken.resize(
        static_cast<std::size_t>(std::max(::read(reader, taken.data(), taken.size()), 0L)));
    ::close(reader);
    EXPECT_GT(taken.size(), 0u);
    EXPECT_EQ(taken, times(static_cast<int>(taken.size() / RECORD_P.size()), RECORD_P));
}
#endif

}  // namespace
}  // namespace geochain
