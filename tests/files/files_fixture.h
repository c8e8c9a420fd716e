#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "editor/image.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "support/fake_desktop.h"
#include "workbench/workbench.h"

namespace tal::test {

namespace fs = std::filesystem;

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string imageBytes(const Image& image) {
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("tal-files-" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// A working file built by the command-line tool from a JSON description of its programs.
inline void buildImage(const std::string& json, const std::string& out) {
    const std::string jsonPath = out + ".json";
    writeBytes(jsonPath, json);
    const std::string command = std::string("'") + TAL_CLI_PATH + "' build '" + jsonPath +
                                "' -o '" + out + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    fs::remove(jsonPath);
}

// A workbench on a fake desktop with the blank image TAL.ini in a temporary folder; the tables
// are open and empty as after start-up. The value checks, which need a limits table, are left
// out; tests/limits has their own.
class WorkbenchTest : public ::testing::Test {
protected:
    WorkbenchTest() {
        const Image blank = makeBlankImage();
        writeBytes(dir / "TAL.ini", imageBytes(blank));
        bench.state().blankImagePath = dir / "TAL.ini";
        bench.state().settingsFilePath = dir / "TAL.cfg";
        bench.state().currentImage = blank;
        bench.startup().FormShow();
        desktop.calls.clear();
    }

    // The program numbers of the header table, in its order.
    std::vector<std::int64_t> programNumbers() {
        Table& headers = bench.store().headers();
        std::vector<std::int64_t> numbers;
        for (int row = 0; row < headers.recordCount(); ++row)
            numbers.push_back(headers.rowValue(row, hdr::ProgNum).asInteger());
        return numbers;
    }

    TempFolder dir;
    FakeDesktop desktop;
    Workbench bench{desktop, ValueCheckMode::Unchecked};
};

}  // namespace tal::test
