#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "dialogue/dialogue.h"
#include "process.h"

namespace geochain {
namespace {

// Every seed of the fuzz corpus, and every input the fuzzer ever crashed on
// (kept there as a regression), runs to its end through the dialogue.
TEST(FuzzCorpus, EverySeedRunsToItsEnd) {
    const auto dir = testing_support::make_temp_dir();
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GEOCHAIN_CORPUS_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::istringstream in(testing_support::read_file(entry.path()));
        std::ostringstream out;
        std::ostringstream err;
        testing::internal::CaptureStderr();
        const int status = run_dialogue(in, out, err, (dir / "fi.txt").string());
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(status == 0 || status == 1);
        EXPECT_TRUE(in.rdbuf()->sgetc() == std::char_traits<char>::eof() || status == 0);
        ++seeds;
    }
    EXPECT_GE(seeds, 7);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace geochain
