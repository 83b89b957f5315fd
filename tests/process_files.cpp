#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "process.h"

namespace geochain::testing_support {

TempDir::TempDir() {
    std::random_device random;
    do {
        path = std::filesystem::temp_directory_path() / ("geochain-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace geochain::testing_support
