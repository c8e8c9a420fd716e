#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tal::test {

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    EXPECT_TRUE(out.good()) << path;
}

std::string imageBytes(const Image& image) {
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

}  // namespace tal::test
