#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/image.h"

namespace tal::test {

// A fresh folder per test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }  // with a trailing '/'
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

Image randomImage(std::uint32_t seed);
Image imageFromBytes(const std::string& bytes);
std::string bytesOf(const Image& image);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

struct ProcessResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};
// Runs a program (found on PATH unless the name has a slash) with an argument list (no shell),
// optionally in another folder and with extra environment variables, and waits for it.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment = {},
                         const std::string& workingFolder = {});

// The programmer tool's own file for an image: its address line, the data records and the end
// record, with LF or CR LF line ends.
std::string programmerHexText(const Image& image, bool crlf);

}  // namespace tal::test
