#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../process.h"
#include "io/descriptor_io.h"
#include "io/descriptor_streams.h"

namespace geochain {
namespace {

// In blocks: a character put when the block is exactly full goes out after
// it, and whoever waits on the output is told how far it has gone after
// each write, the first block before the character is taken.
TEST(DescriptorOutput, BlocksAndHowFarTheyHaveGone) {
    const testing_support::TempDir dir;
    const auto path = dir.path / "out";
    const int fd = open_for_append(path.string().c_str());
    std::vector<std::uint64_t> told;
    {
        DescriptorOutput out(fd, true, nullptr, [&told](std::uint64_t n) { told.push_back(n); });
        const std::string block(1 << 16, '-');
        out.sputn(block.data(), static_cast<std::streamsize>(block.size()));
        EXPECT_TRUE(told.empty());
        out.sputc('x');
        EXPECT_EQ(told, std::vector<std::uint64_t>{1 << 16});
    }
    close_descriptor(fd);
    EXPECT_EQ(told, (std::vector<std::uint64_t>{1 << 16, (1 << 16) + 1}));
    EXPECT_EQ(testing_support::read_file(path), std::string(1 << 16, '-') + "x");
}

}  // namespace
}  // namespace geochain
