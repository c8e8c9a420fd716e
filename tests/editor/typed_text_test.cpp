#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <variant>

#include "editor/typed_text.h"

namespace tal::test {
namespace {

struct Refused {};  // the framework's wording for the kind, the text as typed

struct Case {
    std::string text;
    TypedKind kind;
    std::variant<Value, Refused> expected;
};

Value i(std::int64_t v) {
    return Value::integer(v);
}
Value r(double v) {
    return Value::real(v);
}

std::string refusalFor(const std::string& text, TypedKind kind) {
    return "'" + text + "' is not a valid " +
           (kind == TypedKind::Integer ? "integer" : "floating point") + " value";
}

constexpr auto I = TypedKind::Integer;
constexpr auto R = TypedKind::Real;
constexpr auto T = TypedKind::Text;
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();

const Case kCases[] = {
    // Integers: a sign and digits within 32 bits, blanks around ignored.
    {"42", I, i(42)},
    {" \t42  ", I, i(42)},
    {"-7", I, i(-7)},
    {"+7", I, i(7)},
    {"007", I, i(7)},
    {"-0", I, i(0)},
    {"2147483647", I, i(kMax32)},
    {"-2147483648", I, i(kMin32)},
    {"2147483648", I, Refused{}},
    {"-2147483649", I, Refused{}},
    {"99999999999999999999", I, Refused{}},
    {"12,5", I, Refused{}},
    {"12.5", I, Refused{}},
    {"1e3", I, Refused{}},
    {"abc", I, Refused{}},
    {"12abc", I, Refused{}},
    {"1 2", I, Refused{}},
    {"+-1", I, Refused{}},
    {"--1", I, Refused{}},
    {"-", I, Refused{}},
    {"+", I, Refused{}},
    {" 12,5 ", I, Refused{}},  // the message quotes the blanks too
    // Reals: "," and "." alike, one of them at most, an exponent allowed, finite only.
    {"12,5", R, r(12.5)},
    {"12.5", R, r(12.5)},
    {" 0,35 ", R, r(0.35)},  // the very double a typed 0.35 is
    {"-0.07", R, r(-0.07)},
    {"+3", R, r(3)},
    {"180", R, r(180)},
    {",5", R, r(0.5)},
    {"5.", R, r(5)},
    {"1e3", R, r(1000)},
    {"2,5E-1", R, r(0.25)},
    {"-1.5e+2", R, r(-150)},
    {"1,2,3", R, Refused{}},
    {"1.2,3", R, Refused{}},
    {"1 000", R, Refused{}},
    {"abc", R, Refused{}},
    {"12abc", R, Refused{}},
    {".", R, Refused{}},
    {",", R, Refused{}},
    {"-", R, Refused{}},
    {"e3", R, Refused{}},
    {"1e", R, Refused{}},
    {"1e+", R, Refused{}},
    {"0x10", R, Refused{}},
    {"inf", R, Refused{}},
    {"-infinity", R, Refused{}},
    {"nan", R, Refused{}},
    {"1e400", R, Refused{}},
    {"-1e400", R, Refused{}},
    {"1e-400", R, Refused{}},
    // Empty or blank clears a number; a text is kept as typed, only the empty one clears.
    {"", I, Value()},
    {"   ", I, Value()},
    {"", R, Value()},
    {"\t ", R, Value()},
    {"", T, Value()},
    {" слева ", T, Value::text(" слева ")},
    {"12,5", T, Value::text("12,5")},
};

TEST(TypedText, ReadsNumbersInEitherSeparatorAndRefusesTheRestWithTheFrameworksWording) {
    for (const Case& c : kCases) {
        SCOPED_TRACE("'" + c.text + "' as " +
                     (c.kind == I   ? "integer"
                      : c.kind == R ? "real"
                                    : "text"));
        const TypedText typed = parseTypedText(c.text, c.kind);
        if (const Value* expected = std::get_if<Value>(&c.expected)) {
            ASSERT_NE(typed.value(), nullptr) << *typed.refusal();
            EXPECT_EQ(*typed.value(), *expected) << typed.value()->asText();
            EXPECT_EQ(typed.refusal(), nullptr);
        } else {
            ASSERT_NE(typed.refusal(), nullptr) << typed.value()->asText();
            EXPECT_EQ(*typed.refusal(), refusalFor(c.text, c.kind));
            EXPECT_EQ(typed.value(), nullptr);
        }
    }
}

TEST(TypedText, TextValuesReadAsNumbersTheSameWayAndOtherwiseAsZero) {
    struct Reading {
        const char* text;
        std::int64_t integer;
        double real;
    } readings[] = {
        {"12,5", 13, 12.5},  // an integer reading rounds the real, halves away from 0
        {"12.5", 13, 12.5},
        {"-2,5", -3, -2.5},
        {" 7 ", 7, 7},
        {"1e3", 1000, 1000},
        {"9007199254740993", 9007199254740993, 9007199254740992.0},  // integers exact to 64 bits
        {"12abc", 0, 0},                                             // no prefix of a text is read
        {"abc", 0, 0},
        {"1,2,3", 0, 0},
        {"", 0, 0},
    };
    for (const auto& reading : readings) {
        SCOPED_TRACE(reading.text);
        const Value text = Value::text(reading.text);
        EXPECT_EQ(text.asInteger(), reading.integer);
        EXPECT_EQ(text.asFloat(), reading.real);
    }
    // Reals beyond 64 bits stop at their ends instead of being undefined.
    EXPECT_EQ(Value::real(1e30).asInteger(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Value::real(-1e30).asInteger(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Value::real(std::nan("")).asInteger(), 0);
}

// A locale whose decimal separator is the comma, if the system has one installed.
bool setCommaLocale() {
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8",
                             "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",")
            return true;
    }
    std::setlocale(LC_ALL, "C");
    return false;
}

TEST(TypedText, ReadsTheSameUnderACommaDecimalLocale) {
    if (!setCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    struct Restore {
        ~Restore() { std::setlocale(LC_ALL, "C"); }
    } restore;
    for (const char* text : {"12.5", "12,5"}) {
        SCOPED_TRACE(text);
        const TypedText typed = parseTypedText(text, TypedKind::Real);
        ASSERT_NE(typed.value(), nullptr);
        EXPECT_EQ(*typed.value(), Value::real(12.5));
        EXPECT_EQ(Value::text(text).asFloat(), 12.5);
    }
    EXPECT_NE(parseTypedText("12,5", TypedKind::Integer).refusal(), nullptr);
    EXPECT_EQ(Value::real(0.35).asText(), "0.35");
}

}  // namespace
}  // namespace tal::test
