#include "limits/field_check.h"

#include <cmath>
#include <limits>

namespace tal {

std::int32_t integerBound(double bound) {
    if (std::isnan(bound))
        return 0;
    // Halves to even, whatever the floating-point rounding mode is.
    const double below = std::floor(bound);
    const double fraction = bound - below;
    double rounded = below + 1;
    if (fraction < 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) == 0))
        rounded = below;
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (rounded <= lowest)
        return lowest;
    if (rounded >= highest)
        return highest;
    return static_cast<std::int32_t>(rounded);
}

bool hasStepPrecision(double v, int multiplier) {
    const double k = multiplier;
    const double n = std::floor(v * k + 0.5);
    // The quotient is the double nearest to the decimal n/k, which is what typing that decimal
    // gives; n times the step (35 × 0.01) often is not.
    return n / k == v;
}

std::optional<std::string> refusalOf(const FieldEntry& field, const LimitsRow& row, const Value& v,
                                     const CheckContext& context) {
    const std::string& message = row.message;
    if (v.isNull() || v.asText().empty())
        return message;
    if (field.isReal()) {
        const double x = v.asFloat();
        const double lower =
            field.check.bounds == BoundRule::LowerIsParam6 ? context.lineParam6 : row.minValue;
        if (lower > x || row.maxValue < x)
            return message;
        if (!hasStepPrecision(x, field.check.step.multiplier))
            return std::string(field.check.step.message);
        return std::nullopt;
    }
    // In full: a value beyond 32 bits is beyond every bound, never wrapped into them.
    const std::int64_t x = v.asInteger();
    if (integerBound(row.minValue) > x)
        return message;
    if (field.check.bounds == BoundRule::UpperIsProgSize) {
        if (x >= context.progSize)
            return message;
    } else if (integerBound(row.maxValue) < x) {
        return message;
    }
    return std::nullopt;
}

}  // namespace tal
