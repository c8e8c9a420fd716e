#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "limits/field_check.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "support/fake_desktop.h"
#include "support/limits_data.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"
#include "workbench/workbench.h"

namespace tal::test {
namespace {

constexpr const char* kRow = "<the row's message>";
const std::string kNoMore = "Меньше числа строк программы";

const FieldEntry& checkedField(const std::string& name) {
    for (const FieldEntry* field : checkedFields())
        if (field->name == name)
            return *field;
    throw std::logic_error("not a checked field: " + name);
}

// The delivered models and a few made for the edge cases.
std::vector<LimitsRecord> testLimits() {
    auto records = deliveredLimits();
    const std::vector<LimitsRecord> extra = {
        limitsRecord("ТОЧНОСТЬ", "Param 02", -100, 100, "Т02"),
        limitsRecord("ТОЧНОСТЬ", "Param 8", 0, 5, "Т8"),
        limitsRecord("ТОЧНОСТЬ", "Param 15", 0, 9.9, "Т15"),
        limitsRecord("ОКРУГЛ", "Param 1", std::nullopt, std::nullopt, "О1"),
        limitsRecord("ОКРУГЛ", "Param 2", -1e12, 1e12, "О2"),
        limitsRecord("ОКРУГЛ", "Param 4", 2.5, 10.5, "О4"),
        limitsRecord("ОКРУГЛ", "Param 10", 3.5, 4.5, "О10"),
        limitsRecord("ОКРУГЛ", "Param 14", -1.5, -0.5, "О14"),
        limitsRecord("КОНЕЦ", "Param 6", 0, 180, "К6"),
        limitsRecord("КОНЕЦ", "Param 7", 100, 180, "К7"),
        limitsRecord("ПОВТОР-17", "Param 16", 0, 99, "П16"),
        limitsRecord("ПОВТОР-17", "Param 17", 1, 0, "П17"),
        limitsRecord("ПОВТОР-17", "Param 18", 0, 90, "П18"),
        limitsRecord("ПОВТОР-18", "Param 16", 0, 99, "Р16"),
        limitsRecord("ПОВТОР-18", "Param 17", 0, 0, "Р17"),
        limitsRecord("ПОВТОР-18", "Param 18", 1, 90, "Р18"),
        limitsRecord("БАЙТ", "Param 10", 0, 255, "Б10"),
        limitsRecord("БАЙТ", "Param 14", -1e12, 1e12, "Б14"),
    };
    records.insert(records.end(), extra.begin(), extra.end());
    return records;
}

// A checking workbench over a TALC.DB of testLimits(), with program 1 of three lines (ProgSize 4)
// and its first line current.
class ValueChecksTest : public ::testing::Test {
protected:
    ValueChecksTest() : records(testLimits()) {
        writeLimits(dir.path("TALC.DB"), records);
        bench.limits().setPath(dir.path("TALC.DB"));
        state().currentImage = makeBlankImage();
        store().ClearTables();
        state().machineModel = "ТАЛ-1";
        bench.ApplyLimitHints();
        desktop.focus = Grid::Headers;
        desktop.newProgramAnswers.push_back({DialogAnswer::Create, 1});
        commands().SpeedButton7Click();
        for (int i = 0; i < 3; ++i) {
            desktop.focus = Grid::Lines;
            commands().SpeedButton7Click();
        }
        lines().first();
        desktop.calls.clear();
    }

    EditorState& state() { return bench.state(); }
    ProgramStore& store() { return bench.store(); }
    GridCommands& commands() { return bench.gridCommands(); }
    Table& headers() { return store().headers(); }
    Table& lines() { return store().lines(); }
    Table& tableOf(const FieldEntry& field) {
        return field.table == FieldTable::Headers ? headers() : lines();
    }

    // Assigns through the field's check; the refusal's message, or nothing when accepted.
    std::optional<std::string> assign(const std::string& fieldName, Value v) {
        const FieldEntry& field = checkedField(fieldName);
        try {
            tableOf(field).setValue(field.index, std::move(v));
        } catch (const ValidationError& e) {
            return std::string(e.what());
        }
        return std::nullopt;
    }

    // Sets and posts a value of the current line, under a model without rows so that no check
    // objects and Param 16 has no actions.
    void setLine(int param, Value v) {
        const std::string model = state().machineModel;
        state().machineModel = "БЕЗ-СТРОК";
        lines().setValue(ln::param(param), std::move(v));
        lines().post();
        state().machineModel = model;
    }

    TempFolder dir;
    std::vector<LimitsRecord> records;
    FakeDesktop desktop;
    Workbench bench{desktop};
};

struct Case {
    const char* model;
    const char* field;
    Value value;
    const char* refusal;  // nullptr: accepted; kRow: the limits row's message
};

Value r(double v) {
    return Value::real(v);
}
Value i(std::int64_t v) {
    return Value::integer(v);
}

const char* const P001 = "Максимальная точность 0,01";
const char* const P0001 = "Максимальная точность 0,001";
const char* const P01 = "Максимальная точность 0,1";

const Case kCases[] = {
    // Bounds are inclusive; one step beyond is refused with the row's message.
    {"ТАЛ-1", "Param 02", r(0), nullptr},
    {"ТАЛ-1", "Param 02", r(180), nullptr},
    {"ТАЛ-1", "Param 02", r(180.01), kRow},
    {"ТАЛ-1", "Param 02", r(-0.01), kRow},
    {"ТАЛ-1", "Param 04", i(0), nullptr},
    {"ТАЛ-1", "Param 04", i(20), nullptr},
    {"ТАЛ-1", "Param 04", i(21), kRow},
    {"ТАЛ-1", "Param 04", i(-1), kRow},
    {"ТАЛ-1", "Param 05", i(20), nullptr},
    {"ТАЛ-1", "Param 05", i(21), kRow},
    {"ТАЛ-1", "Param 1", i(10), nullptr},
    {"ТАЛ-1", "Param 1", i(3000), nullptr},
    {"ТАЛ-1", "Param 1", i(9), kRow},
    {"ТАЛ-1", "Param 1", i(3001), kRow},
    {"ТАЛ-1", "Param 2", i(500), nullptr},
    {"ТАЛ-1", "Param 2", i(501), kRow},
    {"ТАЛ-1", "Param 4", i(1), nullptr},
    {"ТАЛ-1", "Param 4", i(60000), nullptr},
    {"ТАЛ-1", "Param 4", i(0), kRow},
    {"ТАЛ-1", "Param 4", i(60001), kRow},
    {"ТАЛ-1", "Param 6", r(180), nullptr},
    {"ТАЛ-1", "Param 6", r(180.01), kRow},
    {"ТАЛ-1", "Param 8", r(0.02), nullptr},
    {"ТАЛ-1", "Param 8", r(5), nullptr},
    {"ТАЛ-1", "Param 8", r(0.019), kRow},
    {"ТАЛ-1", "Param 8", r(5.001), kRow},
    {"ТАЛ-1", "Param 10", i(15), nullptr},
    {"ТАЛ-1", "Param 10", i(16), kRow},
    {"ТАЛ-1", "Param 11", r(180), nullptr},
    {"ТАЛ-1", "Param 11", r(180.01), kRow},
    {"ТАЛ-1", "Param 14", i(0), nullptr},
    {"ТАЛ-1", "Param 14", i(-1), kRow},
    {"ТАЛ-1", "Param 15", r(9.9), nullptr},
    {"ТАЛ-1", "Param 15", r(10), kRow},
    {"ТАЛ-1", "Param 16", i(99), nullptr},
    {"ТАЛ-1", "Param 16", i(100), kRow},
    {"ТАЛ-1", "Param 18", r(90), nullptr},
    {"ТАЛ-1", "Param 18", r(90.01), kRow},
    {"ТАЛ-2", "Param 02", r(300), nullptr},
    {"ТАЛ-2", "Param 02", r(300.01), kRow},
    {"ТАЛ-2", "Param 1", i(2000), nullptr},
    {"ТАЛ-2", "Param 1", i(2001), kRow},
    {"ТАЛ-2", "Param 4", i(65000), nullptr},
    {"ТАЛ-2", "Param 4", i(65001), kRow},
    {"ТАЛ-2", "Param 8", r(0.05), nullptr},
    {"ТАЛ-2", "Param 8", r(9.999), nullptr},
    {"ТАЛ-2", "Param 8", r(0.049), kRow},
    {"ТАЛ-2", "Param 8", r(10), kRow},
    {"ТАЛ-2", "Param 18", r(150), nullptr},
    {"ТАЛ-2", "Param 18", r(150.01), kRow},
    // Precision: every value typed with the allowed decimals passes, one decimal more does not.
    {"ТАЛ-1", "Param 02", r(0.35), nullptr},
    {"ТАЛ-1", "Param 02", r(0.07), nullptr},
    {"ТАЛ-1", "Param 02", r(12.345), P001},
    {"ТАЛ-1", "Param 8", r(0.0205), P0001},
    {"ТАЛ-1", "Param 15", r(0.3), nullptr},
    {"ТАЛ-1", "Param 15", r(1.25), P01},
    {"ТОЧНОСТЬ", "Param 02", r(-0.35), nullptr},
    {"ТОЧНОСТЬ", "Param 02", r(-100), nullptr},
    {"ТОЧНОСТЬ", "Param 02", r(-100.01), kRow},
    {"ТОЧНОСТЬ", "Param 8", r(0.0005), P0001},
    {"ТОЧНОСТЬ", "Param 8", r(0.001), nullptr},
    // Out of range with too many decimals: the row's message, not the precision message.
    {"ТАЛ-1", "Param 02", r(180.005), kRow},
    {"ТАЛ-1", "Param 15", r(9.95), kRow},
    // Empty: refused with a row, accepted without one.
    {"ТАЛ-1", "Param 02", Value(), kRow},
    {"ТАЛ-1", "Param 1", Value(), kRow},
    {"ТАЛ-1", "Param 16", Value(), kRow},
    {"ТОЧНОСТЬ", "Param 1", Value(), nullptr},
    // No row: anything goes.
    {"ТАЛ-9", "Param 1", i(1000000), nullptr},
    {"ТАЛ-9", "Param 02", r(-5.555), nullptr},
    {"ОКРУГЛ", "Param 02", r(123.456), nullptr},
    // Integer bounds round halves to even: 2.5 → 2, 10.5 → 10, 3.5 → 4, 4.5 → 4, -1.5 → -2,
    // -0.5 → 0; beyond 32 bits they stop at its ends; empty bounds read as 0.
    {"ОКРУГЛ", "Param 4", i(2), nullptr},
    {"ОКРУГЛ", "Param 4", i(1), kRow},
    {"ОКРУГЛ", "Param 4", i(10), nullptr},
    {"ОКРУГЛ", "Param 4", i(11), kRow},
    {"ОКРУГЛ", "Param 10", i(3), kRow},
    {"ОКРУГЛ", "Param 10", i(4), nullptr},
    {"ОКРУГЛ", "Param 10", i(5), kRow},
    {"ОКРУГЛ", "Param 14", i(-2), nullptr},
    {"ОКРУГЛ", "Param 14", i(-3), kRow},
    {"ОКРУГЛ", "Param 14", i(0), nullptr},
    {"ОКРУГЛ", "Param 14", i(1), kRow},
    {"ОКРУГЛ", "Param 2", i(std::numeric_limits<std::int32_t>::max()), nullptr},
    {"ОКРУГЛ", "Param 2", i(std::numeric_limits<std::int32_t>::min()), nullptr},
    {"ОКРУГЛ", "Param 1", i(0), nullptr},
    {"ОКРУГЛ", "Param 1", i(1), kRow},
    // Values are compared in full: beyond 16 or 32 bits they are beyond the bounds, not wrapped
    // into them (65541 is 5 in 16 bits, 4294967301 is 5 in 32).
    {"БАЙТ", "Param 10", i(255), nullptr},
    {"БАЙТ", "Param 10", i(65541), kRow},
    {"ТАЛ-1", "Param 10", i(65541), kRow},
    {"ОКРУГЛ", "Param 2", i(std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1), kRow},
    {"ОКРУГЛ", "Param 2", i(std::int64_t{std::numeric_limits<std::int32_t>::min()} - 1), kRow},
    {"ОКРУГЛ", "Param 2", i(4294967301), kRow},
    // The model is found whatever the letter case.
    {"тал-1", "Param 02", r(180.01), kRow},
    {"Тал-2", "Param 02", r(250), nullptr},
};

TEST_F(ValueChecksTest, ChecksEachValueOfAnEditedRowAgainstItsLimits) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.field + " = " + c.value.asText());
        state().machineModel = c.model;
        const FieldEntry& field = checkedField(c.field);
        Table& table = tableOf(field);
        const Value before = table.value(field.index);
        const auto refusal = assign(c.field, c.value);
        if (!c.refusal) {
            EXPECT_EQ(refusal, std::nullopt);
            EXPECT_TRUE(state().lastValueAccepted);
        } else {
            const std::string expected =
                c.refusal == kRow ? limitsMessage(records, c.model, c.field).value() : c.refusal;
            EXPECT_EQ(refusal, expected);
            EXPECT_FALSE(state().lastValueAccepted);
            EXPECT_EQ(table.value(field.index), before) << "a refused value must not be kept";
        }
        table.cancel();
    }
}

// n / k written as a decimal text with the step's number of decimals: "-0.35" for -35 / 100.
std::string decimalText(int n, int k) {
    const std::size_t digits = std::to_string(k).size() - 1;
    std::string fraction = std::to_string(std::abs(n) % k);
    fraction.insert(0, digits - fraction.size(), '0');
    // Appended piece by piece: GCC 12 at -O3 sees a false overlap in a chain of operator+.
    std::string text = n < 0 ? "-" : "";
    text += std::to_string(std::abs(n) / k);
    text += '.';
    text += fraction;
    return text;
}

TEST(FieldPrecision, AcceptsEveryValueTypedWithTheAllowedDecimalsAndNoOther) {
    for (int k : {10, 100, 1000}) {
        for (int n = -70000; n <= 70000; ++n) {
            const std::string text = decimalText(n, k);
            ASSERT_TRUE(hasStepPrecision(std::strtod(text.c_str(), nullptr), k)) << text;
            ASSERT_FALSE(hasStepPrecision(std::strtod((text + "5").c_str(), nullptr), k))
                << text << "5";
        }
    }
}

TEST_F(ValueChecksTest, Param7IsBoundedBelowByTheLinesCurrentParam6) {
    const std::string message = limitsMessage(records, "ТАЛ-1", "Param 7").value();
    // Param 6 changed in the same edit, not posted yet.
    ASSERT_EQ(assign("Param 6", r(50)), std::nullopt);
    EXPECT_EQ(assign("Param 7", r(50)), std::nullopt);
    EXPECT_EQ(assign("Param 7", r(49.99)), message);
    EXPECT_EQ(assign("Param 7", r(180.01)), message);
    // MinValue of Param 7 is not read.
    state().machineModel = "КОНЕЦ";
    EXPECT_EQ(assign("Param 7", r(60)), std::nullopt);
    // Only Param 7's check compares the two: raising Param 6 above it passes.
    EXPECT_EQ(assign("Param 6", r(70)), std::nullopt);
    EXPECT_DOUBLE_EQ(lines().asFloat(ln::param(7)), 60);
    lines().cancel();
    // An empty Param 6 reads as 0.
    ASSERT_TRUE(lines().value(ln::param(6)).isNull());
    state().machineModel = "ТАЛ-1";
    EXPECT_EQ(assign("Param 7", r(0)), std::nullopt);
}

TEST_F(ValueChecksTest, Param17MustStayBelowTheProgramsProgSize) {
    ASSERT_EQ(headers().asInteger(hdr::ProgSize), 4);
    EXPECT_EQ(assign("Param 17", i(3)), std::nullopt);
    EXPECT_EQ(assign("Param 17", i(4)), kNoMore);
    EXPECT_EQ(assign("Param 17", i(0)), std::nullopt);
    lines().cancel();
    // The bound is read at the moment of the check.
    desktop.focus = Grid::Lines;
    commands().SpeedButton7Click();
    ASSERT_EQ(headers().asInteger(hdr::ProgSize), 5);
    EXPECT_EQ(assign("Param 17", i(4)), std::nullopt);
    state().machineModel = "ПОВТОР-17";
    EXPECT_EQ(assign("Param 17", i(0)), "П17");
}

TEST_F(ValueChecksTest, ZeroRepeatsZeroTheRepeatFieldsAndDisableTheirEdits) {
    setLine(17, i(2));
    setLine(18, r(5));
    ASSERT_EQ(assign("Param 16", i(0)), std::nullopt);
    EXPECT_EQ(lines().asInteger(ln::param(16)), 0);
    EXPECT_EQ(lines().asInteger(ln::param(17)), 0);
    EXPECT_EQ(lines().asFloat(ln::param(18)), 0);
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit17));
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit18));

    ASSERT_EQ(assign("Param 16", i(3)), std::nullopt);
    EXPECT_TRUE(desktop.isEnabled(Control::DBEdit17));
    EXPECT_TRUE(desktop.isEnabled(Control::DBEdit18));
    lines().post();

    // A refused value does nothing of the kind.
    desktop.calls.clear();
    EXPECT_EQ(assign("Param 16", i(100)), limitsMessage(records, "ТАЛ-1", "Param 16"));
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(ValueChecksTest, ARefusedZeroStopsTheRepeatCount) {
    setLine(16, i(7));
    setLine(17, i(2));
    setLine(18, r(5));
    desktop.calls.clear();

    // Param 17 refuses its 0: nothing is changed.
    state().machineModel = "ПОВТОР-17";
    EXPECT_EQ(assign("Param 16", i(0)), "П17");
    EXPECT_FALSE(state().lastValueAccepted);
    EXPECT_EQ(lines().asInteger(ln::param(16)), 7);
    EXPECT_EQ(lines().asInteger(ln::param(17)), 2);
    EXPECT_EQ(lines().asFloat(ln::param(18)), 5);

    // Param 18 refuses its 0: the 0 already given to Param 17 stays.
    state().machineModel = "ПОВТОР-18";
    EXPECT_EQ(assign("Param 16", i(0)), "Р18");
    EXPECT_FALSE(state().lastValueAccepted);
    EXPECT_EQ(lines().asInteger(ln::param(16)), 7);
    EXPECT_EQ(lines().asInteger(ln::param(17)), 0);
    EXPECT_EQ(lines().asFloat(ln::param(18)), 5);
    EXPECT_TRUE(desktop.calls.empty()) << "the two edits keep their enabling";
    lines().cancel();

    // Without a row for Param 16 neither action happens.
    state().machineModel = "ОКРУГЛ";
    EXPECT_EQ(assign("Param 16", i(0)), std::nullopt);
    EXPECT_EQ(lines().asInteger(ln::param(17)), 2);
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(ValueChecksTest, NewRowsAreNotCheckedBeforeTheyArePosted) {
    // Even without a limits table, which would refuse every checked value of an edited row.
    bench.limits().Close();
    state().bookkeepingEnabled = false;
    state().lastValueAccepted = false;
    lines().append();
    EXPECT_EQ(assign("Param 1", i(999999)), std::nullopt);
    EXPECT_EQ(assign("Param 16", i(0)), std::nullopt);
    EXPECT_EQ(lines().asInteger(ln::param(1)), 999999);
    EXPECT_TRUE(state().lastValueAccepted) << "every check starts by setting the flag";
    lines().cancel();
    headers().append();
    EXPECT_EQ(assign("Param 02", r(-1.234)), std::nullopt);
    headers().cancel();
    EXPECT_TRUE(desktop.calls.empty()) << "Param 16 of a new row has no actions";
}

TEST_F(ValueChecksTest, TheFlagTellsWhetherTheLatestCheckAccepted) {
    ASSERT_NE(assign("Param 1", i(1)), std::nullopt);
    EXPECT_FALSE(state().lastValueAccepted);
    lines().cancel();
    // Cancelling the row does not reset it; the next check does, and so does a hints refresh.
    EXPECT_FALSE(state().lastValueAccepted);
    ASSERT_EQ(assign("Param 1", i(100)), std::nullopt);
    EXPECT_TRUE(state().lastValueAccepted);
    ASSERT_NE(assign("Param 1", i(1)), std::nullopt);
    bench.ApplyLimitHints();
    EXPECT_TRUE(state().lastValueAccepted);
}

TEST_F(ValueChecksTest, WhatTheFieldCannotHoldIsRefusedByTheEngineWithTheOldValueKept) {
    const Value before = lines().value(ln::param(14));
    auto engineRefusal = [&](const char* model, const std::function<void()>& assignment) {
        SCOPED_TRACE(model);
        state().machineModel = model;
        state().lastValueAccepted = false;
        try {
            assignment();
            ADD_FAILURE() << "taken";
        } catch (const ValidationError& e) {
            ADD_FAILURE() << "refused by the check: " << e.what();
        } catch (const EngineError& e) {
            EXPECT_EQ(lines().value(ln::param(14)), before);
            return std::string(e.what());
        }
        return std::string();
    };
    // Accepted by the check (no row; a row up to 1e12), then too big for the smallint.
    for (const char* model : {"ТАЛ-9", "БАЙТ"}) {
        const auto message =
            engineRefusal(model, [&] { lines().setInteger(ln::param(14), 40000); });
        EXPECT_NE(message.find("Param 14"), std::string::npos) << message;
        EXPECT_NE(message.find("40000"), std::string::npos) << message;
        EXPECT_TRUE(state().lastValueAccepted) << "the check ran and accepted";
    }
    // A text that is no integer never reaches the check, which would have set the flag.
    const auto message = engineRefusal("ТАЛ-1", [&] { lines().setText(ln::param(14), "1,5"); });
    EXPECT_EQ(message, "'1,5' is not a valid integer value");
    EXPECT_FALSE(state().lastValueAccepted);
    // A typed number goes through the check like any other value.
    state().machineModel = "ТАЛ-1";
    EXPECT_EQ(assign("Param 02", Value::text("12,5")), std::nullopt);
    EXPECT_EQ(headers().asFloat(hdr::Param02), 12.5);
    EXPECT_EQ(assign("Param 02", Value::text("12,345")), P001);
}

TEST_F(ValueChecksTest, ChangingTheModelTakesEffectAtTheNextCheck) {
    EXPECT_NE(assign("Param 02", r(250)), std::nullopt);
    state().machineModel = "ТАЛ-2";
    EXPECT_EQ(assign("Param 02", r(250)), std::nullopt);
}

TEST_F(ValueChecksTest, WithoutTheLimitsTableEveryCheckRefusesWithTheEnginesMessage) {
    bench.limits().Close();
    bench.limits().setPath(dir.path("нет/TALC.DB"));
    try {
        bench.ApplyLimitHints();
        FAIL() << "a missing TALC.DB must raise an engine error";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path("нет/TALC.DB")), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(desktop.calls.empty()) << "the hints stay as they were";

    const auto before = headers().value(hdr::Param02);
    const auto refusal = assign("Param 02", r(1));
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_NE(refusal->find("TALC.DB"), std::string::npos) << *refusal;
    EXPECT_TRUE(state().lastValueAccepted) << "no check failed";
    EXPECT_EQ(headers().value(hdr::Param02), before);
}

}  // namespace
}  // namespace tal::test
