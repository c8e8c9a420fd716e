#pragma once

#include <cstdint>
#include <string>

#include "editor/image.h"

namespace tal::test {

Image randomImage(std::uint32_t seed);
// The first 65536 bytes of a file.
Image imageFromFile(const std::string& path);

// The programmer tool's own file for an image: its address line, the data records and the end
// record, with LF or CR LF line ends.
std::string programmerHexText(const Image& image, bool crlf);

}  // namespace tal::test
