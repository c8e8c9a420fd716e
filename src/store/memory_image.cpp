#include "store/memory_image.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace tal {

std::uint16_t readWord(const Image& image, std::size_t offset) {
    std::uint16_t raw;
    std::memcpy(&raw, image.data() + offset, 2);
    // Host words are little-endian on every platform we build for.
    return SwapBytes(raw);
}

void writeWord(Image& image, std::size_t offset, std::uint16_t value) {
    const std::uint16_t raw = SwapBytes(value);
    std::memcpy(image.data() + offset, &raw, 2);
}

std::uint16_t headerSlotOf(const Image& image, int program) {
    return readWord(image, directoryOffset(program));
}

void setHeaderSlot(Image& image, int program, std::uint16_t slot) {
    writeWord(image, directoryOffset(program), slot);
}

std::uint16_t nextStrOf(const Image& image, int slot) {
    return readWord(image, slotOffset(slot) + slot_bytes::kNextStr);
}

void setNextStr(Image& image, int slot, std::uint16_t next) {
    writeWord(image, slotOffset(slot) + slot_bytes::kNextStr, next);
}

std::uint16_t ownNumberOf(const Image& image, int slot) {
    return readWord(image, slotOffset(slot) + slot_bytes::kOwnNumber);
}

bool carriesOwnNumber(const Image& image, int slot) {
    return ownNumberOf(image, slot) == slot;
}

std::uint32_t encodeScaled(double value, int scale) {
    const double scaled = std::floor(value * scale + 0.5);
    if (!std::isfinite(scaled))
        return 0;
    // Cut to the width through a 64-bit integer, so that negative values wrap as they should.
    const double wrapped = std::fmod(scaled, 4294967296.0);
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
}

double decodeScaled(std::uint32_t stored, int scale) {
    return static_cast<double>(stored) / scale;
}

int choiceIndex(const Choice& choice, std::string_view text) {
    for (int i = 0; i < choice.count; ++i)
        if (choice.texts[i] == text)
            return i;
    return choice.count - 1;
}

std::vector<std::string> checkImageInvariants(const Image& image) {
    std::vector<std::string> findings;
    std::vector<int> owner(kSlotCount + 1, -1);
    auto claim = [&](int slot, int program) {
        if (owner[slot] >= 0 && owner[slot] != program) {
            findings.push_back("слот " + std::to_string(slot) + " принадлежит программам " +
                               std::to_string(owner[slot]) + " и " + std::to_string(program));
            return false;
        }
        if (owner[slot] == program) {
            findings.push_back("программа " + std::to_string(program) +
                               ": цепочка строк замкнута в кольцо на слоте " +
                               std::to_string(slot));
            return false;
        }
        owner[slot] = program;
        return true;
    };
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (ownNumberOf(image, slot) != slot)
            findings.push_back("слот " + std::to_string(slot) + " хранит номер " +
                               std::to_string(ownNumberOf(image, slot)));
    }
    for (int p = 0; p < kProgramCount; ++p) {
        const int h = headerSlotOf(image, p);
        if (h == 0)
            continue;
        const std::string name = "программа " + std::to_string(p);
        if (image[directoryOffset(p) + 3] != p)
            findings.push_back(name + ": в каталоге записан номер " +
                               std::to_string(image[directoryOffset(p) + 3]));
        if (h > kSlotCount || ownNumberOf(image, h) != h) {
            findings.push_back(name + ": нет заглавного слота " + std::to_string(h));
            continue;
        }
        if (!claim(h, p))
            continue;
        if (nextStrOf(image, h) == 0)
            findings.push_back(name + ": заглавный слот свободен");
        int lines = 0;
        int previous = h;
        int x = nextStrOf(image, h);
        bool broken = false;
        while (x != previous && x != 0) {
            if (x > kSlotCount || ownNumberOf(image, x) != x) {
                findings.push_back(name + ": цепочка ссылается на слот " + std::to_string(x) +
                                   ", которого нет");
                broken = true;
                break;
            }
            if (!claim(x, p)) {
                broken = true;
                break;
            }
            ++lines;
            if (readWord(image, slotOffset(x) + slot_bytes::kPredStr) != previous)
                findings.push_back(
                    name + ": строка " + std::to_string(lines) + " (слот " + std::to_string(x) +
                    ") ссылается назад на слот " +
                    std::to_string(readWord(image, slotOffset(x) + slot_bytes::kPredStr)) +
                    " вместо " + std::to_string(previous));
            previous = x;
            x = nextStrOf(image, x);
        }
        if (!broken && x == 0 && previous != h)
            findings.push_back(name + ": слот " + std::to_string(previous) + " цепочки свободен");
        const int size = image[slotOffset(h) + slot_bytes::kProgSize];
        if (!broken && size != lines + 1)
            findings.push_back(name + ": число строк " + std::to_string(size) + " вместо " +
                               std::to_string(lines + 1));
    }
    return findings;
}

}  // namespace tal

namespace tal {

Image makeBlankImage() {
    Image image{};
    for (int p = 0; p < kProgramCount; ++p)
        image[directoryOffset(p) + 3] = static_cast<std::uint8_t>(p);
    for (int slot = 1; slot <= kSlotCount; ++slot)
        writeWord(image, slotOffset(slot) + slot_bytes::kOwnNumber,
                  static_cast<std::uint16_t>(slot));
    return image;
}

std::vector<std::string> blankImageFindings(const Image& image) {
    std::vector<std::string> findings;
    for (int p = 0; p < kProgramCount; ++p)
        if (headerSlotOf(image, p) != 0)
            findings.push_back("запись каталога " + std::to_string(p) + " занята");
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (!carriesOwnNumber(image, slot))
            findings.push_back("слот " + std::to_string(slot) + " хранит номер " +
                               std::to_string(ownNumberOf(image, slot)));
    return findings;
}

}  // namespace tal
