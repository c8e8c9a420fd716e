#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/image.h"

namespace tal {

// Layout of the memory image: a 32-byte head block, 256 directory entries of 4 bytes, then
// 2015 slots of 32 bytes. All 16-bit fields are big-endian.
inline constexpr int kProgramCount = 256;
inline constexpr int kSlotCount = 2015;
inline constexpr std::size_t kDirectoryOffset = 0x0020;
inline constexpr std::size_t kSlotSize = 32;
// ProgSize, the lines of a program + 1, is one byte in the image and on the machine: a program
// holds at most 254 lines.
inline constexpr int kMaxProgramLines = 254;

// Exchanges the two bytes of a 16-bit value; serves both directions.
constexpr std::uint16_t SwapBytes(std::uint16_t v) {
    return static_cast<std::uint16_t>(((v & 0x00FF) << 8) | ((v >> 8) & 0x00FF));
}

constexpr std::size_t directoryOffset(int program) {
    return kDirectoryOffset + 4 * program;
}
constexpr std::size_t slotOffset(int slot) {
    return 1024 + kSlotSize * slot;
}

// Byte offsets inside a slot.
namespace slot_bytes {
inline constexpr std::size_t kPredStr = 26;
inline constexpr std::size_t kNextStr = 28;
inline constexpr std::size_t kOwnNumber = 30;
inline constexpr std::size_t kProgSize = 25;
}  // namespace slot_bytes

std::uint16_t readWord(const Image& image, std::size_t offset);
void writeWord(Image& image, std::size_t offset, std::uint16_t value);

// Allocation marks.
std::uint16_t headerSlotOf(const Image& image, int program);
void setHeaderSlot(Image& image, int program, std::uint16_t slot);
std::uint16_t nextStrOf(const Image& image, int slot);
void setNextStr(Image& image, int slot, std::uint16_t next);
std::uint16_t ownNumberOf(const Image& image, int slot);
// The slot at this position carries its own number, as every slot of a blank image does.
bool carriesOwnNumber(const Image& image, int slot);

// A slot-number word as the tables' smallint fields hold it. A well-formed image names slots
// 1..2015 only; a damaged one may hold any word, which the field keeps as its 16 bits (above 32767
// a negative number), so that storing writes the very word back.
constexpr std::int16_t slotWordAsSmallint(std::uint16_t word) {
    return static_cast<std::int16_t>(word);
}

// Scaled values: stored as floor(value × scale + 0.5), cut to the field's width; read back as
// stored ÷ scale, a division, so that a loaded 0.35 is the double a typed 0.35 becomes.
std::uint32_t encodeScaled(double value, int scale);
double decodeScaled(std::uint32_t stored, int scale);

// A choice field: its texts by stored index.
struct Choice {
    std::array<std::string_view, 4> texts;
    int count;
};
inline constexpr Choice kSide{{"слева", "справа"}, 2};                     // Param 01
inline constexpr Choice kSpeedControl{{"программное", "ручное"}, 2};       // Param 03
inline constexpr Choice kRotation{{"против ч/с", "по ч/с"}, 2};            // Param 3, 13
inline constexpr Choice kTraverse{{"влево", "вправо"}, 2};                 // Param 5
inline constexpr Choice kNoYes{{"нет", "да"}, 2};                          // Param 9, 12
inline constexpr Choice kEnding{{"да", "нет", "останов", "исходное"}, 4};  // Param 19

// Index of a text: a two-way choice gives 0 only for its index-0 text, the four-way choice
// gives the last index for a text it does not know.
int choiceIndex(const Choice& choice, std::string_view text);

// Checks the invariants of a well-formed image; one Russian line per finding.
std::vector<std::string> checkImageInvariants(const Image& image);

}  // namespace tal

namespace tal {

// The blank image delivered as TAL.ini: no programs, program number p in byte 3 of entry p,
// every slot free and carrying its own number; every other byte 0.
Image makeBlankImage();

// What keeps `image` from serving as the blank image storing starts from: a directory entry in
// use, a slot that does not carry its own number. One Russian line per finding; none for a blank.
std::vector<std::string> blankImageFindings(const Image& image);

}  // namespace tal
