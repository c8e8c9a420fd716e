#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "editor/image.h"
#include "store/file_system.h"

namespace tal {

// The export file: 4096 data records of 16 bytes and the end record, CR LF line ends.
inline constexpr std::size_t kHexRecordLength = 45;  // ":10AAAA00" + 32 digits + checksum + CR LF
inline constexpr std::size_t kHexRecordCount = kImageSize / 16;
inline constexpr std::size_t kHexFileSize = kHexRecordCount * kHexRecordLength + 13;

// The programmer tool's file as the import reads it: a first line of 15 characters, then the data
// records at fixed positions. The tool ends its lines with CR LF on Windows and LF on Linux.
inline constexpr std::size_t kHexFirstLineLength = 15;
inline constexpr std::size_t kHexMinimumSizeCrLf = 17 + kHexRecordCount * 45;  // 184,337
inline constexpr std::size_t kHexMinimumSizeLf = 16 + kHexRecordCount * 44;    // 180,240

// The whole export file as text.
std::string formatHexFile(const Image& image);
// The same text, handed to `sink` a few records at a time.
bool writeHexText(const Image& image, const ByteSink& sink);

enum class HexWriteStatus { Ok, CreateFailed, WriteFailed };
// Writes the export file in full, replacing any file of that name.
HexWriteStatus WriteHexFile(const Image& image, const std::string& path);
// The same; `error` receives the system's error number of a failure.
HexWriteStatus WriteHexFile(const Image& image, const std::string& path, int& error);

enum class HexReadStatus { Ok, OpenFailed, ReadFailed };
// Takes the image from the records of a programmer-tool file. The layout (CR LF or LF) follows the
// byte after the first line. A file too short for all 4096 records, or a data pair that is not two
// hexadecimal digits, or a record that is not the one the tool writes there (its ":" mark, 16
// bytes, address in sequence, type 00, a correct checksum and its line end), cannot be read.
// `image` is touched only when the whole file was read.
HexReadStatus decodeHexText(std::string_view text, Image& image);
HexReadStatus ReadHexFile(const std::string& path, Image& image);

// decodeHexText in steps, for a file read piece by piece: once the byte after the first line shows
// the layout, the records follow at fixed positions, and each is decoded into the image as soon as
// all of it is in. A refused record leaves the records before it in the image.
class HexRecordReader {
public:
    explicit HexRecordReader(Image& into) : m_image(into) {}

    // False, and nothing more taken, once the text cannot be the tool's file.
    bool take(std::string_view piece);
    // Whether all 4096 records are in; what follows them is not read.
    bool complete() const { return m_record == kHexRecordCount; }

private:
    std::size_t unitSize() const;
    void takeUnit(const unsigned char* unit);

    Image& m_image;
    bool m_layoutKnown = false;
    bool m_lf = false;
    bool m_refused = false;
    std::size_t m_skip = 0;
    std::size_t m_record = 0;
    std::array<unsigned char, 45> m_unit{};  // a unit split between two pieces
    std::size_t m_gathered = 0;
};

}  // namespace tal
