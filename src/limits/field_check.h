#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/value.h"
#include "store/field_catalogue.h"

namespace tal {

// What a check reads from the limits row of its model and field.
struct LimitsRow {
    double minValue = 0;  // an empty bound reads as 0
    double maxValue = 0;
    std::string message;
};

// The other values two fields are bounded by.
struct CheckContext {
    double lineParam6 = 0;      // for Param 7: the line's current Param 6 (empty reads 0)
    std::int64_t progSize = 0;  // for Param 17: the current header's ProgSize
};

// The check of one value against its limits row: empty, lower bound, upper bound, then for a real
// field the precision of its step. Returns the message of the first test that fails, or nothing
// when the value passes. Shared by the edit window's checks and `tal check`.
std::optional<std::string> refusalOf(const FieldEntry& field, const LimitsRow& row, const Value& v,
                                     const CheckContext& context);

// A bound of an integer field: the nearest integer, halves to even, as a 32-bit integer (beyond
// its range the nearest end of it).
std::int32_t integerBound(double bound);

// Whether v is a multiple of the step 1/k as typed: n = floor(v·k + 0.5) and the quotient n / k,
// not n times the step, equals v.
bool hasStepPrecision(double v, int multiplier);

}  // namespace tal
