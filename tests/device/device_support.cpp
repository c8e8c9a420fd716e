#include "device_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "device/hex_file.h"
#include "support/file_bytes.h"

namespace tal::test {

Image randomImage(std::uint32_t seed) {
    std::mt19937 random(seed);
    Image image;
    for (auto& byte : image)
        byte = static_cast<std::uint8_t>(random());
    return image;
}

Image imageFromFile(const std::string& path) {
    const std::string bytes = readBytes(path);
    Image image{};
    EXPECT_GE(bytes.size(), image.size()) << path;
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

std::string programmerHexText(const Image& image, bool crlf) {
    // The tool's records are the export's records behind one extended-address line.
    std::string text = ":020000040000FA\r\n" + formatHexFile(image);
    if (crlf)
        return text;
    std::string lf;
    lf.reserve(text.size());
    for (const char c : text)
        if (c != '\r')
            lf.push_back(c);
    return lf;
}

}  // namespace tal::test
