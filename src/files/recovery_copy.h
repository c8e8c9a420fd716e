#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/image.h"

namespace tal {

// The recovery copy of unsaved work: what a save would have written, and where.
struct RecoveryCopy {
    std::int64_t savedAt = 0;     // seconds since 1970-01-01 UTC
    std::string workingFileName;  // empty when the work was never saved
    Image image{};
    std::string remarksFile;  // the bytes of the remarks file
};

// The file: "TALRCV01", savedAt (8 bytes), the name's length (4 bytes) and its UTF-8 bytes, the
// remarks file's length (4 bytes) and its bytes, the 65536 bytes of the image, and the CRC-32
// of everything before it (4 bytes); numbers little-endian.
std::string encodeRecoveryCopy(const RecoveryCopy& copy);
// Nothing when the bytes are not exactly such a file: a copy is loaded whole or not at all.
std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes);

}  // namespace tal
