#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/desktop.h"
#include "editor/value.h"
#include "store/editing_tables.h"

namespace tal {

// What a check reads from the limits row of its model and field.
struct LimitsRow {
    double minValue = 0;  // an empty bound reads as 0
    double maxValue = 0;
    std::string message;
};

enum class CheckedTable { Headers /* Table0 */, Lines /* Table1 */ };

enum class BoundRule {
    Limits,           // MinValue..MaxValue
    LowerIsParam6,    // Param 7: the line's Param 6..MaxValue
    UpperIsProgSize,  // Param 17: MinValue..ProgSize, ProgSize excluded
};

// One of the sixteen checked numeric fields.
struct CheckedField {
    std::string_view fieldName;  // as in the tables and in TALC: "Param 02"
    Control control;             // its input control in the edit window
    CheckedTable table;
    int field;                          // index in Table0 or Table1
    int multiplier;                     // k of a real field's step (100 for 0.01); 0: integer field
    std::string_view precisionMessage;  // for a real field
    BoundRule bounds = BoundRule::Limits;

    bool isReal() const { return multiplier != 0; }
};

inline constexpr std::string_view kPrecision001 = "Максимальная точность 0,01";
inline constexpr std::string_view kPrecision0001 = "Максимальная точность 0,001";
inline constexpr std::string_view kPrecision01 = "Максимальная точность 0,1";

// The sixteen fields in the order of their hints.
inline constexpr std::array<CheckedField, 16> kCheckedFields{{
    {"Param 02", Control::DBEdit02, CheckedTable::Headers, hdr::Param02, 100, kPrecision001},
    {"Param 04", Control::DBEdit04, CheckedTable::Headers, hdr::Param04, 0, {}},
    {"Param 05", Control::DBEdit05, CheckedTable::Headers, hdr::Param05, 0, {}},
    {"Param 1", Control::DBEdit1, CheckedTable::Lines, ln::param(1), 0, {}},
    {"Param 2", Control::DBEdit2, CheckedTable::Lines, ln::param(2), 0, {}},
    {"Param 4", Control::DBEdit4, CheckedTable::Lines, ln::param(4), 0, {}},
    {"Param 6", Control::DBEdit6, CheckedTable::Lines, ln::param(6), 100, kPrecision001},
    {"Param 7", Control::DBEdit7, CheckedTable::Lines, ln::param(7), 100, kPrecision001,
     BoundRule::LowerIsParam6},
    {"Param 8", Control::DBEdit8, CheckedTable::Lines, ln::param(8), 1000, kPrecision0001},
    {"Param 10", Control::DBEdit10, CheckedTable::Lines, ln::param(10), 0, {}},
    {"Param 11", Control::DBEdit11, CheckedTable::Lines, ln::param(11), 100, kPrecision001},
    {"Param 14", Control::DBEdit14, CheckedTable::Lines, ln::param(14), 0, {}},
    {"Param 15", Control::DBEdit15, CheckedTable::Lines, ln::param(15), 10, kPrecision01},
    {"Param 16", Control::DBEdit16, CheckedTable::Lines, ln::param(16), 0, {}},
    {"Param 17", Control::DBEdit17, CheckedTable::Lines, ln::param(17), 0, {}, BoundRule::UpperIsProgSize},
    {"Param 18", Control::DBEdit18, CheckedTable::Lines, ln::param(18), 100, kPrecision001},
}};

// The other values two fields are bounded by.
struct CheckContext {
    double lineParam6 = 0;      // for Param 7: the line's current Param 6 (empty reads 0)
    std::int64_t progSize = 0;  // for Param 17: the current header's ProgSize
};

// The check of one value against its limits row: empty, lower bound, upper bound, then for a real
// field the precision of its step. Returns the message of the first test that fails, or nothing
// when the value passes. Shared by the edit window's checks and `tal check`.
std::optional<std::string> refusalOf(const CheckedField& field, const LimitsRow& row,
                                     const Value& v, const CheckContext& context);

// A bound of an integer field: the nearest integer, halves to even, as a 32-bit integer (beyond
// its range the nearest end of it).
std::int32_t integerBound(double bound);

// Whether v is a multiple of the step 1/k as typed: n = floor(v·k + 0.5) and the quotient n / k,
// not n times the step, equals v.
bool hasStepPrecision(double v, int multiplier);

}  // namespace tal
