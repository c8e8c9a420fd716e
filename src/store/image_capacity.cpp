#include "store/image_capacity.h"

#include "store/text.h"

namespace tal {

std::optional<ValueRange> imageRange(const FieldEntry& field) {
    const SlotPosition& slot = field.slot;
    const double scale = slot.scale;
    switch (slot.code) {
        case SlotCode::Byte:
            return ValueRange{0, 255};
        case SlotCode::Word:
            return ValueRange{0, 65535};
        case SlotCode::ScaledByte:
            return ValueRange{0, 255 / scale, slot.scale, field.check.step.message};
        case SlotCode::ScaledWord:
            return ValueRange{0, 65535 / scale, slot.scale, field.check.step.message};
        case SlotCode::NonZeroBit:
            return ValueRange{0, 1};
        case SlotCode::None:
        case SlotCode::SlotWord:
        case SlotCode::Bits:
            break;
    }
    return std::nullopt;
}

namespace {

std::string choiceList(const Choice& choice) {
    std::string list;
    for (int i = 0; i < choice.count; ++i)
        list += (i == 0 ? "«" : ", «") + std::string(choice.texts[i]) + "»";
    return list;
}

}  // namespace

std::optional<std::string> imageRefusal(const FieldEntry& field, const Value& v) {
    if (v.isNull())
        return std::nullopt;
    if (const auto range = imageRange(field))
        return refusalOutside(v, *range, field.name);
    if (field.type != FieldType::String)
        return std::nullopt;
    const std::string text = v.asText();
    if (text.empty())
        return std::nullopt;
    const std::string name(field.name);
    if (field.isChoice()) {
        const Choice& choice = *field.slot.choice;
        for (int i = 0; i < choice.count; ++i)
            if (choice.texts[i] == text)
                return std::nullopt;
        return "Поле '" + name + "' не принимает текст «" + text + "»: допустимы " +
               choiceList(choice);
    }
    if (utf8Length(text) > static_cast<std::size_t>(field.size))
        return "Текст поля '" + name + "' длиннее " + std::to_string(field.size) + " символов";
    if (!fitsCp1251(text) || text.find('\0') != std::string::npos)
        return "Текст поля '" + name + "' содержит символы, которых нет в кодировке Windows-1251";
    return std::nullopt;
}

}  // namespace tal
