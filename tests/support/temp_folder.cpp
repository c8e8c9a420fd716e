#include "support/temp_folder.h"

#include <random>
#include <system_error>

namespace tal::test {

TempFolder::TempFolder() {
    static std::mt19937_64 random{std::random_device{}()};
    m_path = std::filesystem::temp_directory_path() / ("tal-test-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

}  // namespace tal::test
