#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "editor/value.h"

namespace tal {

// What the field behind an input control holds, and so how its text is read.
enum class TypedKind { Integer, Real, Text };

// What the place of a field in the memory image holds: the multiples of 1 / scale from lowest to
// highest. A value outside it would be stored as another value, so it is refused instead.
struct ValueRange {
    double lowest = 0;
    double highest = 0;
    int scale = 1;                   // 1: whole numbers
    std::string_view stepMessage{};  // the refusal of a value finer than 1 / scale
};

// Why `range` cannot hold `v` (a number; the empty value always fits), naming `field`: "Значение
// 700 не помещается в поле 'Param 02': допустимо от 0 до 655,35"; nothing when it fits.
std::optional<std::string> refusalOutside(const Value& v, const ValueRange& range,
                                          std::string_view field);

// What a typed text became: a value (the empty value clears the field) or a refusal whose message
// is shown to the operator as it stands.
class [[nodiscard]] TypedText {
public:
    // The value; nullptr when the text was refused.
    const Value* value() const { return std::get_if<Value>(&m_result); }
    // The refusal's message; nullptr when the text was accepted.
    const std::string* refusal() const { return std::get_if<std::string>(&m_result); }

private:
    friend TypedText parseTypedText(std::string_view text, TypedKind kind);
    explicit TypedText(std::variant<Value, std::string> result) : m_result(std::move(result)) {}
    std::variant<Value, std::string> m_result;
};

// Reads the text an operator typed, whatever the process locale is. Blanks around a number are
// ignored and an empty text is the empty value. An integer is an optional sign and digits within
// 32 bits; a real takes "," or "." as its one decimal separator and an optional exponent and must
// be finite. A text is kept as typed. Anything else is refused with "'<text>' is not a valid
// integer value" or "'<text>' is not a valid floating point value", the text as typed.
TypedText parseTypedText(std::string_view text, TypedKind kind);

// The number a text spells, blanks around it ignored, in any locale; nothing when it spells
// none. An integer: an optional sign and digits, within 64 bits.
std::optional<std::int64_t> readInteger(std::string_view text);
// A real: an integer, or one with "," or "." as decimal separator, either with an optional
// exponent ("1e3"), within the range of a double (neither 1e400 nor 1e-400).
std::optional<double> readReal(std::string_view text);

}  // namespace tal
