#include "store/slot_codec.h"

#include <array>

#include "store/field_catalogue.h"
#include "store/memory_image.h"

namespace tal {
namespace {

int bitMask(const SlotPosition& code) {
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

void readSlot(const Image& image, int slot, std::vector<Value>& row, FieldTable fields) {
    const std::size_t base = slotOffset(slot);
    if (row.size() < fieldsOf(fields).size())
        row.resize(fieldsOf(fields).size());
    for (const FieldEntry& field : fieldsOf(fields)) {
        const SlotPosition& code = field.slot;
        const std::size_t at = base + code.offset;
        Value value;
        switch (code.code) {
            case SlotCode::None:
                continue;
            case SlotCode::Byte:
                value = Value::integer(image[at]);
                break;
            case SlotCode::Word:
                value = Value::integer(readWord(image, at));
                break;
            case SlotCode::SlotWord:
                value = Value::integer(slotWordAsSmallint(readWord(image, at)));
                break;
            case SlotCode::ScaledByte:
                value = Value::real(decodeScaled(image[at], code.scale));
                break;
            case SlotCode::ScaledWord:
                value = Value::real(decodeScaled(readWord(image, at), code.scale));
                break;
            case SlotCode::Bits:
                value = choiceValue(*code.choice, (image[at] & bitMask(code)) >> code.bit);
                break;
            case SlotCode::NonZeroBit:
                value = Value::integer((image[at] >> code.bit) & 1);
                break;
        }
        row[field.index] = std::move(value);
    }
}

// `valueOf(field)` gives the value of the row being written.
template <class ValueOf>
void writeSlot(Image& image, int slot, FieldTable fields, const ValueOf& valueOf) {
    const std::size_t base = slotOffset(slot);
    for (const FieldEntry& field : fieldsOf(fields)) {
        const SlotPosition& code = field.slot;
        const std::size_t at = base + code.offset;
        const Value& value = valueOf(field.index);
        switch (code.code) {
            case SlotCode::None:
                break;
            case SlotCode::Byte:
                image[at] = static_cast<std::uint8_t>(value.asInteger());
                break;
            case SlotCode::Word:
            case SlotCode::SlotWord:
                writeWord(image, at, static_cast<std::uint16_t>(value.asInteger()));
                break;
            case SlotCode::ScaledByte:
                image[at] = static_cast<std::uint8_t>(encodeScaled(value.asFloat(), code.scale));
                break;
            case SlotCode::ScaledWord:
                writeWord(image, at,
                          static_cast<std::uint16_t>(encodeScaled(value.asFloat(), code.scale)));
                break;
            case SlotCode::Bits: {
                const int index = choiceIndex(*code.choice, value.asText());
                image[at] =
                    static_cast<std::uint8_t>((image[at] & ~bitMask(code)) | (index << code.bit));
                break;
            }
            case SlotCode::NonZeroBit: {
                const int bit = value.asInteger() != 0 ? 1 : 0;
                image[at] =
                    static_cast<std::uint8_t>((image[at] & ~(1 << code.bit)) | (bit << code.bit));
                break;
            }
        }
    }
}

}  // namespace

void readHeaderSlot(const Image& image, int slot, std::vector<Value>& header) {
    readSlot(image, slot, header, FieldTable::Headers);
}

void writeHeaderSlot(Image& image, int slot, const Table& headers) {
    writeSlot(image, slot, FieldTable::Headers,
              [&headers](int field) -> const Value& { return headers.value(field); });
}

void writeStoredHeaderSlot(Image& image, int slot, const Table& headers, int row) {
    writeSlot(image, slot, FieldTable::Headers,
              [&](int field) -> const Value& { return headers.storedValue(row, field); });
}

void readLineSlot(const Image& image, int slot, std::vector<Value>& line) {
    readSlot(image, slot, line, FieldTable::Lines);
}

void writeLineSlot(Image& image, int slot, const Table& lines) {
    writeSlot(image, slot, FieldTable::Lines,
              [&lines](int field) -> const Value& { return lines.value(field); });
}

void writeStoredLineSlot(Image& image, int slot, const Table& lines, int row) {
    writeSlot(image, slot, FieldTable::Lines,
              [&](int field) -> const Value& { return lines.storedValue(row, field); });
}

}  // namespace tal
