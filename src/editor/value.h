#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tal {

// One field value of a table row: empty, an integer, a real or a text.
class Value {
public:
    Value() = default;
    static Value integer(std::int64_t v) { return Value(Storage(v)); }
    static Value real(double v) { return Value(Storage(v)); }
    static Value text(std::string v) { return Value(Storage(std::move(v))); }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(m_v); }
    bool isReal() const { return std::holds_alternative<double>(m_v); }
    bool isText() const { return std::holds_alternative<std::string>(m_v); }

    // Empty reads as 0 or as an empty text. A text is read as typed text is, in any locale ("12,5"
    // and "12.5" alike); one that is no number reads as 0. A real is rounded, halves away from 0.
    std::int64_t asInteger() const;
    double asFloat() const;
    // Integers in decimal, reals in their shortest exact form with a point ("0.35").
    std::string asText() const;
    // The text itself when the value is a text, without a copy.
    const std::string* textIf() const { return std::get_if<std::string>(&m_v); }
    const std::int64_t* integerIf() const { return std::get_if<std::int64_t>(&m_v); }

    bool operator==(const Value& other) const = default;

private:
    using Storage = std::variant<std::monostate, std::int64_t, double, std::string>;
    explicit Value(Storage v) : m_v(std::move(v)) {}
    Storage m_v;
};

// The nearest integer, halves away from 0; beyond 64 bits the nearest end of them, NaN as 0.
std::int64_t roundToInteger(double v);

// Shortest text that reads back as exactly this double ("0.35", "12", "-0.07").
std::string formatShortest(double v);

}  // namespace tal
