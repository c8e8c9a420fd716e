#pragma once

#include <string>

#include "editor/image.h"

namespace tal {

enum class ImageReadStatus { Ok, OpenFailed, WrongSize, ReadFailed };

// A working file: exactly 65536 bytes. `image` is touched only when the read succeeds.
ImageReadStatus readImageFile(const std::string& path, Image& image);
// A blank image: its first 65536 bytes; a shorter file is a read failure.
ImageReadStatus readBlankImageFile(const std::string& path, Image& image);

}  // namespace tal
