// The HEX reader on arbitrary input. The reader refuses everything shorter than 4096 records, so
// besides the raw input the target also reads a programmer's file of a known image edited by the
// input: byte 0 picks the layout and case, bytes 1..3 where the file is cut, then each group of
// four bytes puts one byte (the fourth) at an offset (the first three). Each text is also read in
// two pieces.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/hex_file.h"

namespace {

tal::Image knownImage() {
    tal::Image image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return image;
}

std::string programmerFile(const tal::Image& image, bool lf, bool lower) {
    std::string text;
    for (const char c : ":020000040000FA\r\n" + tal::formatHexFile(image)) {
        if (lf && c == '\r')
            continue;
        text.push_back(lower && c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return text;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

// The text in two pieces, as a file is read a buffer at a time.
bool readInTwoPieces(std::string_view text, std::size_t split, tal::Image& image) {
    tal::HexRecordReader reader(image);
    split = std::min(split, text.size());
    return reader.take(text.substr(0, split)) && reader.take(text.substr(split)) &&
           reader.complete();
}

// A refused file leaves the image alone; an accepted one is long enough for its layout. Read in
// two pieces, split anywhere, it reads as the whole.
void readAndCheck(const std::string& text, std::size_t split) {
    tal::Image image;
    image.fill(0xA5);
    const tal::Image before = image;
    const auto status = tal::decodeHexText(text, image);
    tal::Image inPieces{};
    check(readInTwoPieces(text, split, inPieces) == (status == tal::HexReadStatus::Ok));
    if (status != tal::HexReadStatus::Ok) {
        check(image == before);
        return;
    }
    check(inPieces == image);
    const bool lf = text[tal::kHexFirstLineLength] == '\n';
    check(text.size() >= (lf ? tal::kHexMinimumSizeLf : tal::kHexMinimumSizeCrLf));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readAndCheck(std::string(reinterpret_cast<const char*>(data), size), size / 2);
    if (size < 4)
        return 0;

    static const tal::Image known = knownImage();
    static const std::string files[4] = {
        programmerFile(known, false, false), programmerFile(known, true, false),
        programmerFile(known, false, true), programmerFile(known, true, true)};
    const bool lf = data[0] & 1;
    std::string text = files[data[0] & 3];
    const std::size_t cut = data[1] | data[2] << 8 | data[3] << 16;
    const bool edited = size >= 8;
    for (std::size_t at = 4; at + 4 <= size; at += 4) {
        const std::size_t offset =
            (data[at] | data[at + 1] << 8 | data[at + 2] << 16) % text.size();
        text[offset] = static_cast<char>(data[at + 3]);
    }
    if (cut < text.size())
        text.resize(cut);
    readAndCheck(text, cut % (text.size() + 1));

    // Untouched and long enough, the file must give back exactly the image.
    if (!edited && text.size() >= (lf ? tal::kHexMinimumSizeLf : tal::kHexMinimumSizeCrLf)) {
        tal::Image image{};
        check(tal::decodeHexText(text, image) == tal::HexReadStatus::Ok && image == known);
    }
    return 0;
}
