// The table engine's values: reading them, converting what is assigned to the field's type,
// checking it, and the passes that change many rows at once.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "editor/typed_text.h"
#include "store/table.h"
#include "store/text.h"

namespace tal {

const Value& Table::value(int field) const {
    static const Value empty;
    const Row* row = currentRow();
    if (!row)
        return empty;
    return row->values.at(field);
}

const Value& Table::rowValue(int row, int field) const {
    return m_rows.at(lo() + row)->values.at(field);
}

namespace {

struct IntegerRange {
    std::int64_t lowest, highest;
};

// What an integer field holds; nothing for the other types.
std::optional<IntegerRange> integerRange(FieldType type) {
    switch (type) {
        case FieldType::SmallInt:
            return IntegerRange{std::numeric_limits<std::int16_t>::min(),
                                std::numeric_limits<std::int16_t>::max()};
        case FieldType::Integer:
        case FieldType::AutoInc:
            return IntegerRange{std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max()};
        case FieldType::Float:
        case FieldType::String:
            break;
    }
    return std::nullopt;
}

std::string outOfRange(const FieldDef& def, const std::string& value) {
    const IntegerRange range = *integerRange(def.type);
    return "Значение " + value + " не помещается в поле '" + def.name + "': допустимо от " +
           std::to_string(range.lowest) + " до " + std::to_string(range.highest);
}

Value typedValue(const std::string& text, TypedKind kind) {
    const TypedText typed = parseTypedText(text, kind);
    if (const std::string* refusal = typed.refusal())
        throw ConversionError(*refusal);
    return *typed.value();
}

}  // namespace

void Table::convert(int field, Value& v) const {
    if (v.isNull())
        return;
    const FieldDef& def = m_fields[field];
    switch (def.type) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::AutoInc:
            // Kept in full for the check; requireFits refuses what the field cannot hold.
            if (const std::string* text = v.textIf()) {
                v = typedValue(*text, TypedKind::Integer);
            } else if (v.isReal()) {
                const double real = v.asFloat();
                if (!(std::abs(real) < 0x1p63))
                    throw EngineError(outOfRange(def, formatShortest(real)));
                v = Value::integer(roundToInteger(real));
            }
            return;
        case FieldType::Float:
            if (const std::string* text = v.textIf())
                v = typedValue(*text, TypedKind::Real);
            else if (!v.isReal())
                v = Value::real(v.asFloat());
            if (!v.isNull() && !std::isfinite(v.asFloat()))
                throw EngineError("Поле '" + def.name + "' не принимает значение " + v.asText());
            return;
        case FieldType::String: {
            const auto size = static_cast<std::size_t>(def.size);
            const auto* text = v.textIf();
            if (!text)
                v = Value::text(utf8Truncate(v.asText(), size));
            else if (text->size() > size && utf8Length(*text) > size)  // bytes, then characters
                v = Value::text(utf8Truncate(*text, size));
            return;
        }
    }
}

void Table::requireFits(int field, const Value& v) const {
    const FieldDef& def = m_fields[field];
    const std::int64_t* integer = v.integerIf();
    const auto range = integerRange(def.type);
    if (integer && range && (*integer < range->lowest || *integer > range->highest))
        throw EngineError(outOfRange(def, std::to_string(*integer)));
}

bool Table::assign(int field, Value& v, const Limit& limit) {
    requireWritable();
    if (field < 0 || static_cast<std::size_t>(field) >= m_fields.size())
        throw EngineError("Нет поля с номером " + std::to_string(field));
    if (m_fields[field].type == FieldType::AutoInc)
        throw EngineError("Поле '" + m_fields[field].name + "' только для чтения");
    convert(field, v);
    const Validator& validator = m_validators[field];
    if (!validator)
        requireFits(field, v);
    if (m_state == TableState::Browse) {
        if (recordCount() > 0 && !validator && m_rows[m_cursor]->values[field] == v)
            return false;
        edit();
    }
    Row* row = currentRow();
    if (validator) {
        // While the check runs the field reads as the new value.
        Value old = std::exchange(row->values[field], v);
        try {
            validator(*this, field);
        } catch (...) {
            currentRow()->values[field] = std::move(old);
            throw;
        }
        row = currentRow();
        row->values[field] = std::move(old);
        requireFits(field, v);
    }
    if (limit)
        if (auto refusal = limit(v))
            throw EngineError(*refusal);
    Value& target = row->values[field];
    if (target == v)
        return false;
    if (m_state == TableState::Edit) {
        const bool recorded = std::any_of(m_undo.begin(), m_undo.end(),
                                          [&](const auto& u) { return u.first == field; });
        if (!recorded)
            m_undo.emplace_back(field, target);
    }
    target = std::move(v);
    m_rowModified = true;
    if (m_isKey[field])
        m_keyTouched = true;
    return true;
}

void Table::announceValues(int row, int count, std::uint32_t fields, bool linkChanged) {
    announce({.kind = ChangeKind::ValuesChanged, .row = row, .count = count, .fields = fields});
    if (!linkChanged)
        return;
    for (Table* detail : m_details)
        detail->masterChanged();
}

void Table::setValue(int field, Value v) {
    requireOpen();
    if (!assign(field, v))
        return;
    announceValues(currentVisibleRow(), 1, 1u << field, m_linkFields[field]);
}

void Table::setValue(int field, Value v, const Limit& limit) {
    requireOpen();
    if (!assign(field, v, limit))
        return;
    announceValues(currentVisibleRow(), 1, 1u << field, m_linkFields[field]);
}

void Table::setValues(std::span<std::pair<int, Value>> values) {
    requireOpen();
    std::uint32_t changed = 0;
    bool linkChanged = false;
    for (auto& [field, v] : values) {
        if (assign(field, v)) {
            changed |= 1u << field;
            linkChanged = linkChanged || m_linkFields[field];
        }
    }
    if (changed != 0)
        announceValues(currentVisibleRow(), 1, changed, linkChanged);
}

void Table::updateVisibleRows(const std::function<void(RowAccess&)>& edit) {
    requireOpen();
    requireWritable();
    checkBrowseMode();
    RowAccess access;
    access.m_table = this;
    const std::size_t first = lo(), last = hi();
    for (std::size_t i = first; i < last; ++i) {
        access.m_row = m_rows[i].get();
        access.m_index = static_cast<int>(i - first);
        edit(access);
    }
    if (access.m_keyChanged) {
        const bool inOrder = std::is_sorted(
            m_rows.begin() + first, m_rows.begin() + last,
            [&](const RowPtr& a, const RowPtr& b) { return compareKeys(*a, *b) < 0; });
        if (!inOrder)
            throw EngineError("Порядок записей таблицы " + m_name + " нарушен");
    }
    if (access.m_changed)
        announceValues(access.m_firstChanged, access.m_lastChanged - access.m_firstChanged + 1,
                       access.m_fields, access.m_linkChanged);
}

std::int64_t Table::RowAccess::integer(int field) const {
    const Value& value = m_row->values[field];
    const std::int64_t* integer = value.integerIf();
    return integer ? *integer : value.asInteger();
}

void Table::RowAccess::setInteger(int field, std::int64_t v) {
    if (m_table->m_validators[field])
        throw EngineError("Поле '" + m_table->m_fields[field].name + "' проверяется при вводе");
    const FieldType type = m_table->m_fields[field].type;
    if (type != FieldType::SmallInt && type != FieldType::Integer)
        throw EngineError("Поле '" + m_table->m_fields[field].name + "' не целое");
    m_table->requireFits(field, Value::integer(v));
    Value& target = m_row->values[field];
    if (const std::int64_t* current = target.integerIf(); current && *current == v)
        return;
    target = Value::integer(v);
    m_changed = true;
    if (m_firstChanged < 0)
        m_firstChanged = m_index;
    m_lastChanged = m_index;
    m_fields |= 1u << field;
    m_keyChanged = m_keyChanged || m_table->m_isKey[field];
    m_linkChanged = m_linkChanged || m_table->m_linkFields[field];
}

void Table::setValidator(int field, Validator validator) {
    m_validators.at(field) = std::move(validator);
}

}  // namespace tal
