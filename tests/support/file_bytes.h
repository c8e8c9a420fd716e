#pragma once

#include <filesystem>
#include <string>

#include "editor/image.h"

namespace tal::test {

// The whole file; "" when it cannot be read.
std::string readBytes(const std::filesystem::path& path);
// Replaces the file with `bytes`; fails the test when it cannot.
void writeBytes(const std::filesystem::path& path, const std::string& bytes);
// The image as the bytes of a working file.
std::string imageBytes(const Image& image);

}  // namespace tal::test
