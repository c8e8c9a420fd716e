#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "device/hex_file.h"
#include "device_support.h"
#include "support/file_bytes.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tal {
namespace {

using test::imageBytes;
using test::programmerHexText;
using test::readBytes;
using test::runProcess;
using test::TempFolder;
using test::writeBytes;

Image filledImage(std::uint8_t value) {
    Image image;
    image.fill(value);
    return image;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end == std::string::npos ? end : end + 1 - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TEST(WriteHexFile, HasTheFixedLayoutWhateverTheImageHolds) {
    for (const Image& image : {filledImage(0x00), filledImage(0xFF), test::randomImage(1)}) {
        const std::string text = formatHexFile(image);
        EXPECT_EQ(text.size(), 184333u);
        const auto lines = linesOf(text);
        ASSERT_EQ(lines.size(), 4097u);
        for (std::size_t k = 0; k < 4096; ++k) {
            ASSERT_EQ(lines[k].size(), 45u) << k;
            ASSERT_EQ(lines[k].substr(43), "\r\n") << k;
        }
        EXPECT_EQ(lines.front().substr(0, 9), ":10000000");
        EXPECT_EQ(lines[4095].substr(0, 9), ":10FFF000");
        EXPECT_EQ(lines.back(), ":00000001FF\r\n");
        EXPECT_TRUE(std::none_of(text.begin(), text.end(),
                                 [](unsigned char c) { return std::islower(c); }));
    }
}

TEST(WriteHexFile, ChecksumsAsTheMachineToolsExpect) {
    const auto erased = linesOf(formatHexFile(filledImage(0xFF)));
    EXPECT_EQ(erased.front(), ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF00\r\n");
    EXPECT_EQ(erased[4095], ":10FFF000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF11\r\n");

    Image counting = filledImage(0);
    for (int i = 0; i < 16; ++i)
        counting[16 + i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(linesOf(formatHexFile(counting))[1],
              ":10001000000102030405060708090A0B0C0D0E0F68\r\n");
}

// Two independent Intel HEX readers must get exactly the image back, checksums verified.
TEST(WriteHexFile, BinutilsAndSrecordReadTheImageBack) {
    TempFolder folder;
    for (const Image& image : {test::randomImage(7), test::randomImage(8), filledImage(0xFF)}) {
        const std::string hex = folder.path("image.hex");
        ASSERT_EQ(WriteHexFile(image, hex), HexWriteStatus::Ok);

        const auto objcopy =
            runProcess({"objcopy", "-I", "ihex", "-O", "binary", hex, folder.path("objcopy.bin")});
        ASSERT_EQ(objcopy.exitCode, 0) << objcopy.output;
        EXPECT_EQ(readBytes(folder.path("objcopy.bin")), imageBytes(image));

        const auto srec =
            runProcess({"srec_cat", hex, "-intel", "-o", folder.path("srec.bin"), "-binary"});
        ASSERT_EQ(srec.exitCode, 0) << srec.output;
        EXPECT_EQ(readBytes(folder.path("srec.bin")), imageBytes(image));
    }

    // srec_cat does check: one wrong checksum digit is refused.
    std::string broken = formatHexFile(test::randomImage(9));
    broken[45 * 100 + 42] = broken[45 * 100 + 42] == '0' ? '1' : '0';
    writeBytes(folder.path("broken.hex"), broken);
    EXPECT_NE(runProcess({"srec_cat", folder.path("broken.hex"), "-intel", "-o",
                          folder.path("broken.bin"), "-binary"})
                  .exitCode,
              0);
}

TEST(WriteHexFile, ReplacesAnExistingFileAndReportsCreateAndWriteFailuresApart) {
    TempFolder folder;
    const Image image = test::randomImage(3);
    const std::string hex = folder.path("coil.hex");
    writeBytes(hex, std::string(300000, 'x'));
    ASSERT_EQ(WriteHexFile(image, hex), HexWriteStatus::Ok);
    EXPECT_EQ(readBytes(hex), formatHexFile(image));

    writeBytes(folder.path("plain"), "a file, not a folder");
    // The system's reason comes along for the message.
    const struct {
        std::string path;
        HexWriteStatus expected;
        int error;
    } cases[] = {
        {folder.path("missing/coil.hex"), HexWriteStatus::CreateFailed, ENOENT},
        {folder.path("plain/coil.hex"), HexWriteStatus::CreateFailed, ENOTDIR},
        {"/dev/full", HexWriteStatus::WriteFailed, ENOSPC},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteHexFile(image, c.path), c.expected) << c.path;
        int error = 0;
        EXPECT_EQ(WriteHexFile(image, c.path, error), c.expected) << c.path;
        EXPECT_EQ(error, c.error) << c.path;
    }
}

struct Layout {
    bool crlf;
    std::size_t minimumSize;
};
constexpr Layout kLayouts[] = {{true, 184337}, {false, 180240}};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ReadHexFile, ReadsTheProgrammersFileInBothLayoutsAndBothCases) {
    TempFolder folder;
    const Image image = test::randomImage(11);
    for (const auto& layout : kLayouts) {
        for (const bool lower : {false, true}) {
            std::string text = programmerHexText(image, layout.crlf);
            if (lower)
                text = lowerCase(text);
            writeBytes(folder.path("read.hex"), text);
            Image read = filledImage(0);
            ASSERT_EQ(ReadHexFile(folder.path("read.hex"), read), HexReadStatus::Ok)
                << layout.crlf << lower;
            EXPECT_EQ(read, image) << layout.crlf << lower;
        }
    }
}

TEST(ReadHexFile, NeedsEveryRecordButNotTheEndRecord) {
    TempFolder folder;
    const Image image = test::randomImage(12);
    for (const auto& layout : kLayouts) {
        const std::string text = programmerHexText(image, layout.crlf);
        writeBytes(folder.path("min.hex"), text.substr(0, layout.minimumSize));
        Image read = filledImage(0);
        EXPECT_EQ(ReadHexFile(folder.path("min.hex"), read), HexReadStatus::Ok);
        EXPECT_EQ(read, image);

        writeBytes(folder.path("short.hex"), text.substr(0, layout.minimumSize - 1));
        Image untouched = filledImage(0x5A);
        EXPECT_EQ(ReadHexFile(folder.path("short.hex"), untouched), HexReadStatus::ReadFailed)
            << layout.crlf;
        EXPECT_EQ(untouched, filledImage(0x5A));
    }
    writeBytes(folder.path("empty.hex"), "");
    Image read{};
    EXPECT_EQ(ReadHexFile(folder.path("empty.hex"), read), HexReadStatus::ReadFailed);
    EXPECT_EQ(ReadHexFile(folder.path("absent.hex"), read), HexReadStatus::OpenFailed);
}

TEST(ReadHexFile, RefusesAPairThatIsNotTwoHexDigits) {
    const Image image = test::randomImage(13);
    for (const auto& layout : kLayouts) {
        const std::string text = programmerHexText(image, layout.crlf);
        const std::size_t first = layout.crlf ? 17 : 16;
        const std::size_t stride = layout.crlf ? 45 : 44;
        const std::size_t firstDigit = first + 9;
        const std::size_t lastDigit = first + 4095 * stride + 40;
        for (const std::size_t at : {firstDigit, firstDigit + 1, lastDigit}) {
            for (const char bad : {' ', 'G', 'x', ':', '\r', '\0', '+'}) {
                std::string broken = text;
                broken[at] = bad;
                Image untouched = filledImage(0x5A);
                EXPECT_EQ(decodeHexText(broken, untouched), HexReadStatus::ReadFailed)
                    << layout.crlf << " at " << at << " '" << bad << "'";
                EXPECT_EQ(untouched, filledImage(0x5A));
            }
        }
    }
}

// Every record is checked as it is read: a file whose records are not the tool's own, or have
// moved from their places, is refused rather than read as another image.
TEST(ReadHexFile, RefusesARecordThatIsNotTheToolsOwn) {
    const Image image = test::randomImage(14);
    const struct {
        const char* what;
        std::size_t at;  // in the record
        std::string bytes;
        bool insert = false;
    } damages[] = {
        {"no mark", 0, ";"},
        {"another length", 1, "0F"},
        {"an address out of sequence", 3, "FFF0"},
        {"a data record of another type", 7, "01"},
        {"a wrong checksum", 9, "00000000000000000000000000000000"},
        {"a stray CR", 20, "\r", true},
        {"a stray LF", 20, "\n", true},
        {"a line end missing", 43, "X"},
    };
    for (const auto& layout : kLayouts) {
        const std::string text = programmerHexText(image, layout.crlf);
        const std::size_t first = layout.crlf ? 17 : 16;
        const std::size_t stride = layout.crlf ? 45 : 44;
        for (const std::size_t k : {std::size_t{0}, std::size_t{2047}, std::size_t{4095}}) {
            for (const auto& damage : damages) {
                SCOPED_TRACE(std::string(damage.what) + (layout.crlf ? " CR LF" : " LF") +
                             " record " + std::to_string(k));
                const std::size_t at = first + k * stride + damage.at;
                std::string broken = text;
                if (damage.insert)
                    broken.insert(at, damage.bytes);
                else
                    broken.replace(at, damage.bytes.size(), damage.bytes);
                if (broken == text)
                    continue;  // the record held these bytes already
                Image untouched = filledImage(0x5A);
                EXPECT_EQ(decodeHexText(broken, untouched), HexReadStatus::ReadFailed);
                EXPECT_EQ(untouched, filledImage(0x5A));
            }
        }
    }
}

// A file is read a buffer at a time: where the pieces end must not matter, whether in the first
// line, at its CR LF or inside a record.
TEST(HexRecordReader, ReadsATextInPiecesOfAnySizeAsTheWhole) {
    const Image image = test::randomImage(16);
    for (const auto& layout : kLayouts) {
        const std::string text = programmerHexText(image, layout.crlf);
        std::string broken = text;
        broken[(layout.crlf ? 17 : 16) + 100 * (layout.crlf ? 45 : 44) + 20] = 'G';
        for (const std::size_t size : {1, 2, 15, 16, 17, 43, 44, 45, 46, 4096, 16384}) {
            SCOPED_TRACE((layout.crlf ? "CR LF, pieces of " : "LF, pieces of ") +
                         std::to_string(size));
            const auto readInPieces = [size](const std::string& whole, Image& into) {
                HexRecordReader reader(into);
                for (std::size_t at = 0; at < whole.size(); at += size)
                    if (!reader.take(std::string_view(whole).substr(at, size)))
                        return false;
                return reader.complete();
            };
            Image read = filledImage(0);
            EXPECT_TRUE(readInPieces(text, read));
            EXPECT_EQ(read, image);
            Image refused = filledImage(0);
            EXPECT_FALSE(readInPieces(broken, refused));
        }
    }
}

// The export's own file has no first line: every record would be read out of place.
TEST(ReadHexFile, CannotReadTheExportFile) {
    Image read{};
    EXPECT_EQ(decodeHexText(formatHexFile(test::randomImage(15)), read), HexReadStatus::ReadFailed);
}

}  // namespace
}  // namespace tal
