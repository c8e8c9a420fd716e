#pragma once

#include <string>

#include "editor/image.h"

namespace tal {

enum class ImageReadStatus { Ok, OpenFailed, WrongSize, ReadFailed };

// The file is read straight into `image`: after a failure it may hold part of the file, so a
// caller that must keep its image reads into a copy.

// A working file: exactly 65536 bytes.
ImageReadStatus readImageFile(const std::string& path, Image& image);
// A blank image: its first 65536 bytes; a shorter file is a read failure.
ImageReadStatus readBlankImageFile(const std::string& path, Image& image);

}  // namespace tal
