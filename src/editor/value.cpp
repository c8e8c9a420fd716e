#include "editor/value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "editor/typed_text.h"

namespace tal {

std::int64_t roundToInteger(double v) {
    if (std::isnan(v))
        return 0;
    // -2^63 and 2^63 are exact doubles; beyond them llround has no answer.
    constexpr double limit = 9223372036854775808.0;
    if (v >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (v < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::llround(v));
}

std::int64_t Value::asInteger() const {
    if (auto* i = std::get_if<std::int64_t>(&m_v))
        return *i;
    if (auto* d = std::get_if<double>(&m_v))
        return roundToInteger(*d);
    if (auto* s = std::get_if<std::string>(&m_v)) {
        if (auto integer = readInteger(*s))
            return *integer;
        return roundToInteger(readReal(*s).value_or(0.0));
    }
    return 0;
}

double Value::asFloat() const {
    if (auto* d = std::get_if<double>(&m_v))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&m_v))
        return static_cast<double>(*i);
    if (auto* s = std::get_if<std::string>(&m_v))
        return readReal(*s).value_or(0.0);
    return 0.0;
}

std::string Value::asText() const {
    if (auto* s = std::get_if<std::string>(&m_v))
        return *s;
    if (auto* i = std::get_if<std::int64_t>(&m_v))
        return std::to_string(*i);
    if (auto* d = std::get_if<double>(&m_v))
        return formatShortest(*d);
    return {};
}

std::string formatShortest(double v) {
    if (v == 0.0)
        return "0";  // also for -0.0
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

}  // namespace tal
