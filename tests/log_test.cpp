#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <string>

#include "dialogue/dialogue.h"
#include "process.h"
#include "worked_examples.h"

namespace geochain {
namespace {

using testing_support::make_temp_dir;
using testing_support::read_file;
using testing_support::run_geochain;
using testing_support::write_file;

const std::string RECORD_1100000_700000_300 =
    "Kartograficke souradnice S, D : \r\n"
    "S = 78.44790021   D = 33.13641562\r\n"
    "Sfericke souradncie U, V : \r\n"
    "U = 49.59071283   V = 32.80331049\r\n";

const std::string RECORD_1041000_740000_250 =
    "Kartograficke souradnice S, D : \r\n"
    "S = 78.68699834   D = 36.13268049\r\n"
    "Sfericke souradncie U, V : \r\n"
    "U = 50.06874429   V = 32.14329189\r\n";

std::string dialogue_output(const std::string& input, const std::string& log_path) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    run_dialogue(in, out, err, log_path);
    return out.str();
}

TEST(ResultsLog, AppendsEveryPointAcrossRunsAfterTheOldBytes) {
    ASSERT_EQ(expected_record(WORKED_EXAMPLES[0]), RECORD_1100000_700000_300);
    ASSERT_EQ(expected_record(WORKED_EXAMPLES[1]), RECORD_1041000_740000_250);
    const auto dir = make_temp_dir();
    const std::string old = "records of an earlier season\r\nno line end at the end";
    write_file(dir / "fi.txt", old);
    const auto first = run_geochain("1100000 700000 300\n1\n1041000 740000 250\n0\n", dir);
    const auto second = run_geochain("1100000 700000 300\n0\n", dir);
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(read_file(dir / "fi.txt"), old + RECORD_1100000_700000_300 +
                                             RECORD_1041000_740000_250 + RECORD_1100000_700000_300);
    std::filesystem::remove_all(dir);
}

TEST(ResultsLog, NewFileGetsDefaultModeBitsAndOnlyComputedPoints) {
    struct Case {
        const char* name;
        const char* input;
        std::string log;
    };
    const Case cases[] = {
        {"ended by 0", "1100000 700000 300\n0\n", RECORD_1100000_700000_300},
        {"ended at the question", "1100000 700000 300", RECORD_1100000_700000_300},
        {"partial point dropped", "1100000 700000 300\n1\n1041000 740000",
         RECORD_1100000_700000_300},
        {"invalid entry re-asked", "1041000 7x\n740000 250\n0\n", RECORD_1041000_740000_250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto dir = make_temp_dir();
        dialogue_output(c.input, (dir / "fi.txt").string());
        EXPECT_EQ(read_file(dir / "fi.txt"), c.log);
        std::filesystem::remove_all(dir);
    }
#ifndef _WIN32
    const auto dir = make_temp_dir();
    const mode_t saved = ::umask(027);
    dialogue_output("1 1 1\n0\n", (dir / "fi.txt").string());
    ::umask(saved);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "fi.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    std::filesystem::remove_all(dir);
#endif
}

TEST(ResultsLog, FailuresAreSilentAndTheDialogueUnchanged) {
    const std::string input = "1100000 700000 300\n1\n1100000 700000 300\n0\n";
    const auto good = make_temp_dir();
    const std::string expected = dialogue_output(input, (good / "fi.txt").string());
    std::filesystem::remove_all(good);

    const auto dir = make_temp_dir();
    std::filesystem::create_directory(dir / "fi.txt");
    EXPECT_EQ(dialogue_output(input, (dir / "fi.txt").string()), expected);
#ifndef _WIN32
    std::filesystem::create_symlink("/dev/full", dir / "full.txt");
    EXPECT_EQ(dialogue_output(input, (dir / "full.txt").string()), expected);
#endif
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace geochain
