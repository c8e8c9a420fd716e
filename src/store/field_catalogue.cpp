#include "store/field_catalogue.h"

#include <algorithm>

#include "store/editing_tables.h"

namespace tal {
namespace {

using T = FieldType;
constexpr FieldTable H = FieldTable::Headers;
constexpr FieldTable L = FieldTable::Lines;

constexpr SlotPosition byte(int offset) {
    return {.code = SlotCode::Byte, .offset = offset};
}
constexpr SlotPosition word(int offset) {
    return {.code = SlotCode::Word, .offset = offset};
}
// A slot number: its 16 bits as the smallint field holds them, so that a damaged image's
// numbers above 32767 survive loading and storing unchanged.
constexpr SlotPosition slotWord(int offset) {
    return {.code = SlotCode::SlotWord, .offset = offset};
}
constexpr SlotPosition scaledByte(int offset, int scale) {
    return {.code = SlotCode::ScaledByte, .offset = offset, .scale = scale};
}
constexpr SlotPosition scaledWord(int offset, int scale) {
    return {.code = SlotCode::ScaledWord, .offset = offset, .scale = scale};
}
constexpr SlotPosition bits(int offset, int bit, const Choice& choice) {
    return {.code = SlotCode::Bits, .offset = offset, .bit = bit, .choice = &choice};
}
constexpr SlotPosition nonZeroBit(int offset, int bit) {
    return {.code = SlotCode::NonZeroBit, .offset = offset, .bit = bit};
}

constexpr GridPlace column(std::string_view title, int width, int significantDigits = 15) {
    return {.title = title, .width = width, .significantDigits = significantDigits};
}

constexpr EditPlace text(Control control, std::string_view caption) {
    return {.control = control, .caption = caption};
}
constexpr EditPlace edit(Control control, std::string_view caption, int maxLength) {
    return {.control = control, .caption = caption, .maxLength = maxLength};
}
// One of two edits in a shared frame.
constexpr EditPlace edit(Control control, std::string_view frame, std::string_view label,
                         int maxLength) {
    return {.control = control, .caption = frame, .label = label, .maxLength = maxLength};
}
constexpr EditPlace radio(Control control, std::string_view caption,
                          std::array<std::string_view, 4> captions, int columns) {
    return {.control = control, .caption = caption, .choiceCaptions = captions, .columns = columns};
}

constexpr FieldCheckSpec checked(std::string_view handler, PrecisionStep step = {},
                                 BoundRule bounds = BoundRule::Limits) {
    return {.handler = handler, .bounds = bounds, .step = step};
}

// clang-format off
constexpr FieldEntry kCatalogueEntries[] = {
    {.name = "Key", .table = H, .index = hdr::Key, .type = T::AutoInc, .json = JsonRole::None},
    {.name = "ProgNum", .table = H, .index = hdr::ProgNum, .type = T::SmallInt,
     .grid = column("Программа", 67), .edit = text(Control::ProgDBText, "Программа"),
     .json = JsonRole::Number},
    {.name = "Param 01", .table = H, .index = hdr::Param01, .type = T::String, .size = 6,
     .slot = bits(2, 0, kSide), .grid = column("Исходное", 57),
     .edit = radio(Control::DBRadioGroup01, "Исходное", {"слева", "справа"}, 2)},
    {.name = "Param 02", .table = H, .index = hdr::Param02, .type = T::Float,
     .slot = scaledWord(0, 100), .grid = column("Коорд. начала", 82, 6),
     .edit = edit(Control::DBEdit02, "Координата начала намотки, мм", 6),
     .check = checked("Table0Param02Validate", kStep001)},
    {.name = "Param 03", .table = H, .index = hdr::Param03, .type = T::String, .size = 12,
     .slot = bits(2, 1, kSpeedControl), .grid = column("Упр. скоростью", 87),
     .edit = radio(Control::DBRadioGroup03, "Управление скоростью намотки",
                   {"программное", "ручное"}, 2)},
    {.name = "Param 04", .table = H, .index = hdr::Param04, .type = T::SmallInt, .slot = byte(4),
     .grid = column("Время разгона", 86),
     .edit = edit(Control::DBEdit04, "Время разгона шпинделя, с", 2),
     .check = checked("Table0Param04Validate")},
    {.name = "Param 05", .table = H, .index = hdr::Param05, .type = T::SmallInt, .slot = byte(5),
     .grid = column("Время торм.", 69),
     .edit = edit(Control::DBEdit05, "Время торможения шпинделя, с", 2),
     .check = checked("Table0Param05Validate")},
    {.name = "Param 06", .table = H, .index = hdr::Param06, .type = T::SmallInt,
     .slot = nonZeroBit(2, 4)},
    {.name = "Param 07", .table = H, .index = hdr::Param07, .type = T::SmallInt, .slot = byte(3)},
    {.name = "ProgSize", .table = H, .index = hdr::ProgSize, .type = T::SmallInt,
     .slot = byte(slot_bytes::kProgSize), .grid = column("Число строк", 73),
     .json = JsonRole::Computed},
    {.name = "NextStr", .table = H, .index = hdr::NextStr, .type = T::SmallInt,
     .slot = slotWord(slot_bytes::kNextStr), .json = JsonRole::Computed},
    // The loader takes a header's slot number from the directory; storing leaves its own number.
    {.name = "CurStr", .table = H, .index = hdr::CurStr, .type = T::SmallInt,
     .json = JsonRole::Computed},
    // Held in the remarks file, not in the image.
    {.name = "Remark", .table = H, .index = hdr::Remark, .type = T::String, .size = kRemarkLength,
     .grid = column("Примечание", 620),
     .edit = edit(Control::DBEdit06, "Примечание", kRemarkLength)},

    {.name = "Key", .table = L, .index = ln::Key, .type = T::AutoInc, .json = JsonRole::None},
    {.name = "ProgNum", .table = L, .index = ln::ProgNum, .type = T::SmallInt,
     .json = JsonRole::None},
    {.name = "Param 1", .table = L, .index = ln::param(1), .type = T::Integer, .slot = word(0),
     .grid = column("Скор. нам.", 61),
     .edit = edit(Control::DBEdit1, "Скорость, об/мин", "намотки", 4),
     .check = checked("Table1Param1Validate")},
    {.name = "Param 2", .table = L, .index = ln::param(2), .type = T::Integer, .slot = word(2),
     .grid = column("Скор. дом.", 59),
     .edit = edit(Control::DBEdit2, "Скорость, об/мин", "домотки", 3),
     .check = checked("Table1Param2Validate")},
    {.name = "Param 3", .table = L, .index = ln::param(3), .type = T::String, .size = 10,
     .slot = bits(4, 1, kRotation), .grid = column("Напр. нам.", 60),
     .edit = radio(Control::DBRadioGroup3, "Направление вращения шпинделя",
                   {"против часовой стрелки", "по часовой стрелке"}, 2)},
    {.name = "Param 4", .table = L, .index = ln::param(4), .type = T::Integer, .slot = word(5),
     .grid = column("Кол. вит.", 52),
     .edit = edit(Control::DBEdit4, "Количество витков намотки", 5),
     .check = checked("Table1Param4Validate")},
    {.name = "Param 5", .table = L, .index = ln::param(5), .type = T::String, .size = 6,
     .slot = bits(4, 2, kTraverse), .grid = column("Напр. раскл.", 73),
     .edit = radio(Control::DBRadioGroup5, "Направление раскладки", {"влево", "вправо"}, 2)},
    {.name = "Param 6", .table = L, .index = ln::param(6), .type = T::Float,
     .slot = scaledWord(9, 100), .grid = column("Нач. кат.", 50),
     .edit = edit(Control::DBEdit6, "Координата, мм", "начала катушки", 6),
     .check = checked("Table1Param6Validate", kStep001)},
    {.name = "Param 7", .table = L, .index = ln::param(7), .type = T::Float,
     .slot = scaledWord(11, 100), .grid = column("Конец кат.", 61),
     .edit = edit(Control::DBEdit7, "Координата, мм", "конца катушки", 6),
     .check = checked("Table1Param7Validate", kStep001, BoundRule::LowerIsParam6)},
    {.name = "Param 8", .table = L, .index = ln::param(8), .type = T::Float,
     .slot = scaledWord(13, 1000), .grid = column("Шаг раскл.", 61),
     .edit = edit(Control::DBEdit8, "Шаг раскладки, мм", 5),
     .check = checked("Table1Param8Validate", kStep0001)},
    {.name = "Param 9", .table = L, .index = ln::param(9), .type = T::String, .size = 3,
     .slot = bits(4, 7, kNoYes), .grid = column("Стоп в слое", 67),
     .edit = radio(Control::DBRadioGroup9, "Стоп в слое", {"нет", "да"}, 2)},
    {.name = "Param 10", .table = L, .index = ln::param(10), .type = T::SmallInt, .slot = byte(15),
     .grid = column("1-й дов.", 44), .edit = edit(Control::DBEdit10, "Первый доворот, 1/16 об", 2),
     .check = checked("Table1Param10Validate")},
    {.name = "Param 11", .table = L, .index = ln::param(11), .type = T::Float,
     .slot = scaledWord(16, 100), .grid = column("Коорд. пер.", 66),
     .edit = edit(Control::DBEdit11, "Перегон в координату, мм", 6),
     .check = checked("Table1Param11Validate", kStep001)},
    {.name = "Param 12", .table = L, .index = ln::param(12), .type = T::String, .size = 3,
     .slot = bits(4, 3, kNoYes), .grid = column("Останов", 52),
     .edit = radio(Control::DBRadioGroup12, "Останов после первого доворота", {"нет", "да"}, 2)},
    {.name = "Param 13", .table = L, .index = ln::param(13), .type = T::String, .size = 10,
     .slot = bits(4, 4, kRotation), .grid = column("Напр. 2-го дов.", 83),
     .edit = radio(Control::DBRadioGroup13, "Направление второго доворота",
                   {"против часовой стрелки", "по часовой стрелке"}, 2)},
    {.name = "Param 14", .table = L, .index = ln::param(14), .type = T::SmallInt, .slot = byte(19),
     .grid = column("2-й дов.", 47), .edit = edit(Control::DBEdit14, "Второй доворот, 1/16 об", 2),
     .check = checked("Table1Param14Validate")},
    // Byte 18 holds Param 15 and byte 19 Param 14, against the order of their numbers.
    {.name = "Param 15", .table = L, .index = ln::param(15), .type = T::Float,
     .slot = scaledByte(18, 10), .grid = column("Задержка", 60),
     .edit = edit(Control::DBEdit15, "Задержка после второго доворота, с", 3),
     .check = checked("Table1Param15Validate", kStep01)},
    {.name = "Param 16", .table = L, .index = ln::param(16), .type = T::SmallInt, .slot = byte(20),
     .grid = column("Кол. повт.", 56), .edit = edit(Control::DBEdit16, "Количество повторов", 3),
     .check = checked("Table1Param16Validate")},
    {.name = "Param 17", .table = L, .index = ln::param(17), .type = T::SmallInt, .slot = byte(21),
     .grid = column("Строк повт.", 0),
     .edit = edit(Control::DBEdit17, "Количество строк повтора", 4),
     .check = checked("Table1Param17Validate", {}, BoundRule::UpperIsProgSize)},
    {.name = "Param 18", .table = L, .index = ln::param(18), .type = T::Float,
     .slot = scaledWord(22, 100), .grid = column("Смещение", 61),
     .edit = edit(Control::DBEdit18, "Смещение, мм", 6),
     .check = checked("Table1Param18Validate", kStep001)},
    {.name = "Param 19", .table = L, .index = ln::param(19), .type = T::String, .size = 8,
     .slot = bits(4, 5, kEnding), .grid = column("Конец нам.", 63),
     .edit = radio(Control::DBRadioGroup19, "Конец", {"да", "нет", "останов", "исходное"}, 4)},
    {.name = "PredStr", .table = L, .index = ln::PredStr, .type = T::SmallInt,
     .slot = slotWord(slot_bytes::kPredStr), .json = JsonRole::Computed},
    {.name = "NextStr", .table = L, .index = ln::NextStr, .type = T::SmallInt,
     .slot = slotWord(slot_bytes::kNextStr), .json = JsonRole::Computed},
    {.name = "CurStr", .table = L, .index = ln::CurStr, .type = T::SmallInt,
     .slot = slotWord(slot_bytes::kOwnNumber), .json = JsonRole::Computed},
    {.name = "StrNum", .table = L, .index = ln::StrNum, .type = T::SmallInt,
     .edit = text(Control::StringDBText, "Строка"), .json = JsonRole::Number},
};
// clang-format on
constexpr auto kCatalogue = std::to_array(kCatalogueEntries);

constexpr std::size_t kHeaderCount = hdr::Remark + 1;
constexpr std::size_t kLineCount = ln::StrNum + 1;
static_assert(kCatalogue.size() == kHeaderCount + kLineCount);

constexpr std::span<const FieldEntry> kHeaderFields(kCatalogue.data(), kHeaderCount);
constexpr std::span<const FieldEntry> kLineFields(kCatalogue.data() + kHeaderCount, kLineCount);

// The k of "Param k" or "Param 0k"; 0 for any other name.
constexpr int paramNumber(std::string_view name) {
    constexpr std::string_view prefix = "Param ";
    if (!name.starts_with(prefix) || name.size() == prefix.size())
        return 0;
    int k = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return 0;
        k = 10 * k + (c - '0');
    }
    return k;
}

// Every entry stands where the hdr:: and ln:: indexes say its name is.
constexpr bool agreesWithTheIndexes() {
    for (std::size_t i = 0; i < kHeaderFields.size(); ++i) {
        const FieldEntry& f = kHeaderFields[i];
        if (f.table != H || f.index != static_cast<int>(i))
            return false;
        const int k = paramNumber(f.name);
        if (k != 0 && (f.index != hdr::param(k) || f.name.size() != 8))  // "Param 0k"
            return false;
    }
    for (std::size_t i = 0; i < kLineFields.size(); ++i) {
        const FieldEntry& f = kLineFields[i];
        if (f.table != L || f.index != static_cast<int>(i))
            return false;
        const int k = paramNumber(f.name);
        if (k != 0 && (f.index != ln::param(k) || f.name.starts_with("Param 0")))
            return false;
    }
    const std::pair<FieldTable, int> others[] = {
        {H, hdr::ProgNum}, {H, hdr::ProgSize}, {H, hdr::NextStr}, {H, hdr::CurStr},
        {H, hdr::Remark},  {L, ln::ProgNum},   {L, ln::PredStr},  {L, ln::NextStr},
        {L, ln::CurStr},   {L, ln::StrNum}};
    const std::string_view names[] = {"ProgNum", "ProgSize", "NextStr", "CurStr", "Remark",
                                      "ProgNum", "PredStr",  "NextStr", "CurStr", "StrNum"};
    for (std::size_t i = 0; i < std::size(others); ++i) {
        const auto& fields = others[i].first == H ? kHeaderFields : kLineFields;
        if (fields[others[i].second].name != names[i])
            return false;
    }
    return true;
}
static_assert(agreesWithTheIndexes());

constexpr std::size_t utf8Length(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A choice field is a string that holds its longest text, shown by a radio group with a caption
// for every text; a checked field has an edit, and a step exactly when it is real.
constexpr bool entriesAreWhole() {
    for (const FieldEntry& f : kCatalogue) {
#ifndef __SANITIZE_ADDRESS__  // under ASan GCC cannot compare an object's address with null here
        if (f.isChoice() != (f.slot.choice != nullptr))
            return false;
#endif
        if (f.isChoice()) {
            const Choice& choice = *f.slot.choice;
            if (f.type != T::String || f.edit.columns <= 0)
                return false;
            for (int i = 0; i < 4; ++i) {
                const bool used = i < choice.count;
                if (used != !f.edit.choiceCaptions[i].empty() ||
                    (used && utf8Length(choice.texts[i]) > static_cast<std::size_t>(f.size)))
                    return false;
            }
        }
        if ((f.type == T::String) != (f.size > 0))
            return false;
        if (f.isChecked()) {
            if (!f.edit.control || f.edit.maxLength == 0)
                return false;
            if ((f.check.step.multiplier != 0) != f.isReal() ||
                f.check.step.message.empty() != !f.isReal())
                return false;
        }
        const bool scaled =
            f.slot.code == SlotCode::ScaledByte || f.slot.code == SlotCode::ScaledWord;
        if (scaled != (f.slot.scale != 1) ||
            scaled != (f.isReal() && f.slot.code != SlotCode::None))
            return false;
    }
    return true;
}
static_assert(entriesAreWhole());

// The bits of its slot a field occupies.
constexpr std::array<std::uint8_t, kSlotSize> slotBits(const FieldEntry& f) {
    std::array<std::uint8_t, kSlotSize> mask{};
    const auto at = static_cast<std::size_t>(f.slot.offset);
    switch (f.slot.code) {
        case SlotCode::None:
            break;
        case SlotCode::Byte:
        case SlotCode::ScaledByte:
            mask[at] = 0xFF;
            break;
        case SlotCode::Word:
        case SlotCode::SlotWord:
        case SlotCode::ScaledWord:
            mask[at] = mask[at + 1] = 0xFF;
            break;
        case SlotCode::Bits:
            mask[at] = static_cast<std::uint8_t>((f.slot.choice->count == 4 ? 3 : 1) << f.slot.bit);
            break;
        case SlotCode::NonZeroBit:
            mask[at] = static_cast<std::uint8_t>(1 << f.slot.bit);
            break;
    }
    return mask;
}

constexpr bool slotsDoNotOverlap(std::span<const FieldEntry> fields) {
    std::array<std::uint8_t, kSlotSize> used{};
    for (const FieldEntry& f : fields) {
        const auto mask = slotBits(f);
        for (std::size_t i = 0; i < kSlotSize; ++i) {
            if (used[i] & mask[i])
                return false;
            used[i] |= mask[i];
        }
    }
    return true;
}
static_assert(slotsDoNotOverlap(kHeaderFields) && slotsDoNotOverlap(kLineFields));

constexpr std::size_t kCheckedCount = static_cast<std::size_t>(std::count_if(
    kCatalogue.begin(), kCatalogue.end(), [](const FieldEntry& f) { return f.isChecked(); }));
static_assert(kCheckedCount == 16);

constexpr std::array<const FieldEntry*, kCheckedCount> kChecked = [] {
    std::array<const FieldEntry*, kCheckedCount> checked{};
    std::size_t n = 0;
    for (const FieldEntry& f : kCatalogue)
        if (f.isChecked())
            checked[n++] = &f;
    return checked;
}();

}  // namespace

std::span<const FieldEntry> fieldCatalogue() {
    return kCatalogue;
}

std::span<const FieldEntry> fieldsOf(FieldTable table) {
    return table == FieldTable::Headers ? kHeaderFields : kLineFields;
}

std::span<const FieldEntry* const> checkedFields() {
    return kChecked;
}

std::string fieldCaption(const FieldEntry& field) {
    std::string caption(field.edit.caption.empty() ? field.name : field.edit.caption);
    if (!field.edit.label.empty())
        caption.append(" — ").append(field.edit.label);
    return caption;
}

const FieldEntry& fieldAt(FieldTable table, int index) {
    return fieldsOf(table)[static_cast<std::size_t>(index)];
}

const FieldEntry* findField(FieldTable table, std::string_view name) {
    for (const FieldEntry& f : fieldsOf(table))
        if (f.name == name)
            return &f;
    return nullptr;
}

const FieldEntry* findField(Control control) {
    for (const FieldEntry& f : kCatalogue)
        if (f.edit.control == control)
            return &f;
    return nullptr;
}

}  // namespace tal
