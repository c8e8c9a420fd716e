#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/image.h"
#include "files/files_fixture.h"  // TempFolder, readBytes, writeBytes, imageBytes

namespace tal::test {

Image randomImage(std::uint32_t seed);
// The first 65536 bytes of a file.
Image imageFromFile(const std::string& path);

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
