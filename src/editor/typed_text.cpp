#include "editor/typed_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tal {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

std::string quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 at -O3 sees a false overlap in "'" + std::string(...).
    std::string result;
    result.reserve(text.size() + 2);
    result += '\'';
    result.append(text);
    result += '\'';
    return result;
}

// A number as the operator reads it: the decimal comma.
std::string withComma(double v) {
    std::string text = formatShortest(v);
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

}  // namespace

std::optional<std::string> refusalOutside(const Value& v, const ValueRange& range,
                                          std::string_view field) {
    if (!v.isInteger() && !v.isReal())
        return std::nullopt;
    const double x = v.isInteger() ? static_cast<double>(*v.integerIf()) : v.asFloat();
    if (!(x >= range.lowest && x <= range.highest)) {
        const std::string shown = v.isInteger() ? std::to_string(*v.integerIf()) : withComma(x);
        return "Значение " + shown + " не помещается в поле '" + std::string(field) +
               "': допустимо от " + withComma(range.lowest) + " до " + withComma(range.highest);
    }
    // The quotient is the double a typed decimal of that precision becomes.
    const double n = std::floor(x * range.scale + 0.5);
    if (n / range.scale != x) {
        if (!range.stepMessage.empty())
            return std::string(range.stepMessage);
        return "Значение " + withComma(x) + " не помещается в поле '" + std::string(field) +
               "': оно должно быть целым";
    }
    return std::nullopt;
}

std::optional<std::int64_t> readInteger(std::string_view text) {
    std::string_view number = trimmed(text);
    // from_chars takes a minus but no plus.
    const bool plus = !number.empty() && number.front() == '+';
    if (plus)
        number.remove_prefix(1);
    const std::size_t digits = !plus && !number.empty() && number.front() == '-' ? 1 : 0;
    if (number.size() == digits || skipDigits(number, digits) != number.size())
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return value;
}

std::optional<double> readReal(std::string_view text) {
    const std::string_view number = trimmed(text);
    // The grammar is checked here, so that from_chars never sees what it would read differently
    // ("inf", "nan", a second separator, a plus).
    std::size_t at = 0;
    if (at < number.size() && (number[at] == '+' || number[at] == '-'))
        ++at;
    const std::size_t integerEnd = skipDigits(number, at);
    std::size_t mantissaDigits = integerEnd - at;
    at = integerEnd;
    if (at < number.size() && (number[at] == ',' || number[at] == '.')) {
        const std::size_t fractionEnd = skipDigits(number, at + 1);
        mantissaDigits += fractionEnd - at - 1;
        at = fractionEnd;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at < number.size() && (number[at] == 'e' || number[at] == 'E')) {
        ++at;
        if (at < number.size() && (number[at] == '+' || number[at] == '-'))
            ++at;
        const std::size_t exponentEnd = skipDigits(number, at);
        if (exponentEnd == at)
            return std::nullopt;
        at = exponentEnd;
    }
    if (at != number.size())
        return std::nullopt;

    std::string canonical(number.front() == '+' ? number.substr(1) : number);
    for (char& c : canonical)
        if (c == ',')
            c = '.';
    double value = 0;
    const char* last = canonical.data() + canonical.size();
    const auto [end, error] = std::from_chars(canonical.data(), last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

TypedText parseTypedText(std::string_view text, TypedKind kind) {
    const bool blank = trimmed(text).empty();
    switch (kind) {
        case TypedKind::Integer: {
            if (blank)
                return TypedText(Value());
            const auto integer = readInteger(text);
            if (!integer || *integer < std::numeric_limits<std::int32_t>::min() ||
                *integer > std::numeric_limits<std::int32_t>::max())
                return TypedText(quoted(text) + " is not a valid integer value");
            return TypedText(Value::integer(*integer));
        }
        case TypedKind::Real: {
            if (blank)
                return TypedText(Value());
            const auto real = readReal(text);
            if (!real)
                return TypedText(quoted(text) + " is not a valid floating point value");
            return TypedText(Value::real(*real));
        }
        case TypedKind::Text:
            break;
    }
    if (text.empty())
        return TypedText(Value());
    return TypedText(Value::text(std::string(text)));
}

}  // namespace tal
