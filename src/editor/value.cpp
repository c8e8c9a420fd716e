#include "editor/value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tal {

std::int64_t Value::asInteger() const {
    if (auto* i = std::get_if<std::int64_t>(&m_v))
        return *i;
    if (auto* d = std::get_if<double>(&m_v)) {
        if (!std::isfinite(*d))
            return 0;
        return static_cast<std::int64_t>(std::llround(*d));
    }
    if (auto* s = std::get_if<std::string>(&m_v))
        return std::strtoll(s->c_str(), nullptr, 10);
    return 0;
}

double Value::asFloat() const {
    if (auto* d = std::get_if<double>(&m_v))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&m_v))
        return static_cast<double>(*i);
    if (auto* s = std::get_if<std::string>(&m_v))
        return std::strtod(s->c_str(), nullptr);
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
