#include "store/slot_codec.h"

#include <array>
#include <span>

#include "store/editing_tables.h"
#include "store/memory_image.h"

namespace tal {
namespace {

enum class Kind { Byte, Word, SlotWord, ScaledByte, ScaledWord, Bits, NonZeroBit };

struct FieldCode {
    int field;
    Kind kind;
    int offset;                      // byte in the slot
    int bit = 0;                     // lowest bit, for Bits and NonZeroBit
    int scale = 1;                   // for the scaled kinds
    const Choice* choice = nullptr;  // for Bits: the texts; one bit, two for four texts
};

const FieldCode kHeaderCodes[] = {
    {hdr::Param01, Kind::Bits, 2, 0, 1, &kSide},
    {hdr::Param02, Kind::ScaledWord, 0, 0, 100},
    {hdr::Param03, Kind::Bits, 2, 1, 1, &kSpeedControl},
    {hdr::Param04, Kind::Byte, 4},
    {hdr::Param05, Kind::Byte, 5},
    {hdr::Param06, Kind::NonZeroBit, 2, 4},
    {hdr::Param07, Kind::Byte, 3},
    {hdr::ProgSize, Kind::Byte, slot_bytes::kProgSize},
    {hdr::NextStr, Kind::SlotWord, slot_bytes::kNextStr},
};

const FieldCode kLineCodes[] = {
    {ln::param(1), Kind::Word, 0},
    {ln::param(2), Kind::Word, 2},
    {ln::param(3), Kind::Bits, 4, 1, 1, &kRotation},
    {ln::param(4), Kind::Word, 5},
    {ln::param(5), Kind::Bits, 4, 2, 1, &kTraverse},
    {ln::param(6), Kind::ScaledWord, 9, 0, 100},
    {ln::param(7), Kind::ScaledWord, 11, 0, 100},
    {ln::param(8), Kind::ScaledWord, 13, 0, 1000},
    {ln::param(9), Kind::Bits, 4, 7, 1, &kNoYes},
    {ln::param(10), Kind::Byte, 15},
    {ln::param(11), Kind::ScaledWord, 16, 0, 100},
    {ln::param(12), Kind::Bits, 4, 3, 1, &kNoYes},
    {ln::param(13), Kind::Bits, 4, 4, 1, &kRotation},
    {ln::param(14), Kind::Byte, 19},
    {ln::param(15), Kind::ScaledByte, 18, 0, 10},
    {ln::param(16), Kind::Byte, 20},
    {ln::param(17), Kind::Byte, 21},
    {ln::param(18), Kind::ScaledWord, 22, 0, 100},
    {ln::param(19), Kind::Bits, 4, 5, 1, &kEnding},
    {ln::PredStr, Kind::SlotWord, slot_bytes::kPredStr},
    {ln::NextStr, Kind::SlotWord, slot_bytes::kNextStr},
    {ln::CurStr, Kind::SlotWord, slot_bytes::kOwnNumber},
};

int bitMask(const FieldCode& code) {
    const int width = code.choice && code.choice->count == 4 ? 2 : 1;
    return ((1 << width) - 1) << code.bit;
}

// The texts of a choice as values, made once.
const Value& choiceValue(const Choice& choice, int index) {
    static const auto make = [](const Choice& c) {
        std::array<Value, 4> values;
        for (int i = 0; i < c.count; ++i)
            values[i] = Value::text(std::string(c.texts[i]));
        return values;
    };
    static const std::array<Value, 4> side = make(kSide), speed = make(kSpeedControl),
                                      rotation = make(kRotation), traverse = make(kTraverse),
                                      noYes = make(kNoYes), ending = make(kEnding);
    const std::array<Value, 4>& values = &choice == &kSide           ? side
                                         : &choice == &kSpeedControl ? speed
                                         : &choice == &kRotation     ? rotation
                                         : &choice == &kTraverse     ? traverse
                                         : &choice == &kNoYes        ? noYes
                                                                     : ending;
    return values[index];
}

void readSlot(const Image& image, int slot, Table& table, std::span<const FieldCode> codes) {
    const std::size_t base = slotOffset(slot);
    std::array<std::pair<int, Value>, 24> values;
    std::size_t count = 0;
    for (const FieldCode& code : codes) {
        const std::size_t at = base + code.offset;
        Value value;
        switch (code.kind) {
            case Kind::Byte:
                value = Value::integer(image[at]);
                break;
            case Kind::Word:
                value = Value::integer(readWord(image, at));
                break;
            case Kind::SlotWord:
                value = Value::integer(slotWordAsSmallint(readWord(image, at)));
                break;
            case Kind::ScaledByte:
                value = Value::real(decodeScaled(image[at], code.scale));
                break;
            case Kind::ScaledWord:
                value = Value::real(decodeScaled(readWord(image, at), code.scale));
                break;
            case Kind::Bits:
                value = choiceValue(*code.choice, (image[at] & bitMask(code)) >> code.bit);
                break;
            case Kind::NonZeroBit:
                value = Value::integer((image[at] >> code.bit) & 1);
                break;
        }
        values[count++] = {code.field, std::move(value)};
    }
    table.setValues(std::span(values.data(), count));
}

void writeSlot(Image& image, int slot, const Table& table, std::span<const FieldCode> codes) {
    const std::size_t base = slotOffset(slot);
    for (const FieldCode& code : codes) {
        const std::size_t at = base + code.offset;
        const Value& value = table.value(code.field);
        switch (code.kind) {
            case Kind::Byte:
                image[at] = static_cast<std::uint8_t>(value.asInteger());
                break;
            case Kind::Word:
            case Kind::SlotWord:
                writeWord(image, at, static_cast<std::uint16_t>(value.asInteger()));
                break;
            case Kind::ScaledByte:
                image[at] = static_cast<std::uint8_t>(encodeScaled(value.asFloat(), code.scale));
                break;
            case Kind::ScaledWord:
                writeWord(image, at,
                          static_cast<std::uint16_t>(encodeScaled(value.asFloat(), code.scale)));
                break;
            case Kind::Bits: {
                const int index = choiceIndex(*code.choice, value.asText());
                image[at] =
                    static_cast<std::uint8_t>((image[at] & ~bitMask(code)) | (index << code.bit));
                break;
            }
            case Kind::NonZeroBit: {
                const int bit = value.asInteger() != 0 ? 1 : 0;
                image[at] =
                    static_cast<std::uint8_t>((image[at] & ~(1 << code.bit)) | (bit << code.bit));
                break;
            }
        }
    }
}

}  // namespace

void readHeaderSlot(const Image& image, int slot, Table& headers) {
    readSlot(image, slot, headers, kHeaderCodes);
}

void writeHeaderSlot(Image& image, int slot, const Table& headers) {
    writeSlot(image, slot, headers, kHeaderCodes);
}

void readLineSlot(const Image& image, int slot, Table& lines) {
    readSlot(image, slot, lines, kLineCodes);
}

void writeLineSlot(Image& image, int slot, const Table& lines) {
    writeSlot(image, slot, lines, kLineCodes);
}

}  // namespace tal
