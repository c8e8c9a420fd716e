#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "store/table.h"

namespace tal {
namespace {

std::unique_ptr<Table> makeMaster() {
    return std::make_unique<Table>(
        "m", std::vector<FieldDef>{{"Key", FieldType::AutoInc}, {"Id", FieldType::SmallInt}},
        std::vector<std::string>{"Id"});
}

std::unique_ptr<Table> makeDetail() {
    return std::make_unique<Table>("d",
                                   std::vector<FieldDef>{{"Key", FieldType::AutoInc},
                                                         {"Id", FieldType::SmallInt},
                                                         {"No", FieldType::SmallInt},
                                                         {"Text", FieldType::String, 3}},
                                   std::vector<std::string>{"Id", "No"});
}

// One field of each kind; row 0 holds 1, 1, 1.5 and "a".
std::unique_ptr<Table> makeNumbers() {
    auto t = std::make_unique<Table>("n",
                                     std::vector<FieldDef>{{"Key", FieldType::AutoInc},
                                                           {"Small", FieldType::SmallInt},
                                                           {"Whole", FieldType::Integer},
                                                           {"Real", FieldType::Float},
                                                           {"Name", FieldType::String, 8}},
                                     std::vector<std::string>{"Key"});
    t->open();
    t->append();
    t->setInteger(1, 1);
    t->setInteger(2, 1);
    t->setFloat(3, 1.5);
    t->setText(4, "a");
    t->post();
    return t;
}
constexpr int kSmall = 1, kWhole = 2, kReal = 3;

// The message of the engine's refusal, or nothing when the assignment was taken.
template <typename Error>
std::optional<std::string> refusalOf(const std::function<void()>& assignment) {
    try {
        assignment();
    } catch (const Error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

void addRow(Table& t, std::initializer_list<std::pair<int, std::int64_t>> values) {
    t.append();
    for (auto [field, v] : values)
        t.setInteger(field, v);
    t.post();
}

TEST(Table, KeepsIndexOrderAndMovesAChangedKey) {
    auto t = makeMaster();
    t->open();
    for (int id : {5, 1, 3})
        addRow(*t, {{1, id}});
    t->first();
    std::vector<std::int64_t> order;
    for (int i = 0; i < t->recordCount(); ++i, t->next())
        order.push_back(t->asInteger(1));
    EXPECT_EQ(order, (std::vector<std::int64_t>{1, 3, 5}));

    t->first();
    t->setInteger(1, 9);
    t->post();
    EXPECT_EQ(t->asInteger(1), 9);  // the cursor follows the moved row
    EXPECT_EQ(t->recNo(), 2);
}

TEST(Table, DetailShowsTheMastersRowsOnlyWhileTheMasterIsOpen) {
    auto m = makeMaster();
    auto d = makeDetail();
    d->setMaster(m.get(), "Id");
    m->open();
    d->open();
    addRow(*m, {{1, 1}});
    addRow(*m, {{1, 2}});
    m->first();
    addRow(*d, {{1, 1}, {2, 1}});
    addRow(*d, {{1, 1}, {2, 2}});
    m->last();
    addRow(*d, {{1, 2}, {2, 1}});
    EXPECT_EQ(d->recordCount(), 1);
    m->first();
    EXPECT_EQ(d->recordCount(), 2);
    m->close();
    EXPECT_EQ(d->recordCount(), 3);
}

TEST(Table, PendingRowIsNotCountedAndCancelRestoresTheCursor) {
    auto t = makeMaster();
    t->open();
    addRow(*t, {{1, 1}});
    addRow(*t, {{1, 2}});
    t->first();
    t->insert();
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(t->state(), TableState::Insert);
    t->cancel();
    EXPECT_EQ(t->asInteger(1), 1);
}

TEST(Table, ValidatorSeesTheNewValueAndARefusalKeepsTheOldOne) {
    auto t = makeDetail();
    t->open();
    addRow(*t, {{1, 1}, {2, 1}});
    std::int64_t seen = -1;
    t->setValidator(2, [&](Table& table, int field) {
        seen = table.asInteger(field);
        if (seen > 10)
            throw ValidationError("too big");
    });
    t->setInteger(2, 7);
    EXPECT_EQ(seen, 7);
    EXPECT_THROW(t->setInteger(2, 11), ValidationError);
    EXPECT_EQ(seen, 11);
    EXPECT_EQ(t->asInteger(2), 7);
    EXPECT_EQ(t->state(), TableState::Edit);
}

TEST(Table, StringFieldsAreCutToTheirSizeInCharacters) {
    auto t = makeDetail();
    t->open();
    t->append();
    t->setText(3, "абвгд");
    EXPECT_EQ(t->asText(3), "абв");
}

TEST(Table, ReplacedRowsAreConvertedOrderedAndKeyedWithoutChecks) {
    auto t = makeDetail();
    t->open();
    addRow(*t, {{1, 9}, {2, 9}});
    t->setValidator(2, [](Table&, int) { throw ValidationError("checked"); });
    t->append();  // a pending row is discarded
    t->replaceRows({{Value(), Value::integer(2), Value::real(1.6), Value::text("абвгд")},
                    {Value(), Value::text("1"), Value::integer(5)}});
    EXPECT_EQ(t->state(), TableState::Browse);
    ASSERT_EQ(t->recordCount(), 2);
    EXPECT_EQ(t->recNo(), 0);
    EXPECT_EQ(t->asInteger(1), 1);
    EXPECT_EQ(t->asInteger(2), 5);
    EXPECT_EQ(t->asInteger(0), 3) << "keys go on from the rows made before";
    t->next();
    EXPECT_EQ(t->asInteger(2), 2) << "a real is rounded to the integer field";
    EXPECT_EQ(t->asText(3), "абв");

    // A value the field cannot hold refuses the whole set, leaving the rows as they were.
    EXPECT_TRUE(refusalOf<EngineError>([&] {
        t->replaceRows({{Value(), Value::integer(70000)}});
    }));
    EXPECT_EQ(t->recordCount(), 2);
    t->replaceRows({});
    EXPECT_EQ(t->recordCount(), 0);
    EXPECT_TRUE(t->eof());
}

TEST(Table, AnIntegerReachesTheCheckInFullAndOnlyThenMustFitItsField) {
    auto t = makeNumbers();
    std::int64_t seen = 0;
    t->setValidator(kSmall, [&](Table& table, int field) {
        seen = table.asInteger(field);
        if (seen > 255)
            throw ValidationError("Не больше 255");
    });
    // 65541 is 5 in 16 bits: the check must see all of it.
    EXPECT_EQ(refusalOf<ValidationError>([&] { t->setInteger(kSmall, 65541); }), "Не больше 255");
    EXPECT_EQ(seen, 65541);
    EXPECT_EQ(t->asInteger(kSmall), 1);

    // A check that accepts: the field still cannot hold the value, and says so.
    t->setValidator(kSmall, [&](Table& table, int field) { seen = table.asInteger(field); });
    const auto refusal = refusalOf<EngineError>([&] { t->setInteger(kSmall, -40000); });
    EXPECT_EQ(seen, -40000);
    ASSERT_TRUE(refusal);
    for (const char* part : {"Small", "-40000", "-32768", "32767"})
        EXPECT_NE(refusal->find(part), std::string::npos) << *refusal;
    EXPECT_EQ(t->asInteger(kSmall), 1);
    EXPECT_FALSE(t->rowModified());
}

TEST(Table, IntegersBeyondTheirFieldAreRefusedNeverWrapped) {
    constexpr std::int64_t max32 = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t min32 = std::numeric_limits<std::int32_t>::min();
    const struct {
        int field;
        std::int64_t value;
        bool fits;
    } cases[] = {
        {kSmall, 32767, true},      {kSmall, -32768, true},      {kSmall, 32768, false},
        {kSmall, -32769, false},    {kSmall, 65541, false},      {kWhole, 70000, true},
        {kWhole, max32, true},      {kWhole, min32, true},       {kWhole, max32 + 1, false},
        {kWhole, min32 - 1, false}, {kWhole, 4294967301, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " = " + std::to_string(c.value));
        auto t = makeNumbers();  // no check on any field
        const auto refusal = refusalOf<EngineError>([&] { t->setInteger(c.field, c.value); });
        EXPECT_EQ(refusal.has_value(), !c.fits) << refusal.value_or("");
        EXPECT_EQ(t->asInteger(c.field), c.fits ? c.value : 1);
    }
    // The bookkeeping's own writes are held to the same ranges.
    auto t = makeNumbers();
    EXPECT_THROW(t->updateVisibleRows([](Table::RowAccess& row) { row.setInteger(kSmall, 32768); }),
                 EngineError);
    t->updateVisibleRows([](Table::RowAccess& row) { row.setInteger(kWhole, 70000); });
    EXPECT_EQ(t->asInteger(kSmall), 1);
    EXPECT_EQ(t->asInteger(kWhole), 70000);
}

TEST(Table, TextsGivenToNumericFieldsAreReadAsTypedText) {
    const struct {
        int field;
        const char* text;
        std::optional<Value> taken;  // nothing: refused
    } cases[] = {
        {kReal, "12,5", Value::real(12.5)},
        {kReal, " 0.35 ", Value::real(0.35)},
        {kReal, "", Value()},
        {kReal, "abc", std::nullopt},
        {kReal, "1,2,3", std::nullopt},
        {kWhole, " -42 ", Value::integer(-42)},
        {kWhole, "70000", Value::integer(70000)},
        {kWhole, "12,5", std::nullopt},
        {kWhole, "2147483648", std::nullopt},
        {kSmall, "", Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " = '" + c.text + "'");
        auto t = makeNumbers();
        const Value before = t->value(c.field);
        const auto refusal = refusalOf<ConversionError>([&] { t->setText(c.field, c.text); });
        if (c.taken) {
            EXPECT_EQ(refusal, std::nullopt);
            EXPECT_EQ(t->value(c.field), *c.taken);
        } else {
            const std::string kind = c.field == kReal ? "floating point" : "integer";
            EXPECT_EQ(refusal, "'" + std::string(c.text) + "' is not a valid " + kind + " value");
            EXPECT_EQ(t->value(c.field), before);
        }
    }
    // A number text the field cannot hold is the engine's range refusal, not a typing error.
    auto t = makeNumbers();
    try {
        t->setText(kSmall, "65541");
        ADD_FAILURE() << "65541 taken by a smallint";
    } catch (const ConversionError& e) {
        ADD_FAILURE() << e.what();
    } catch (const EngineError&) {
    }
    // Reals given to integer fields are rounded; beyond 64 bits they are refused.
    t->setValue(kWhole, Value::real(-2.5));
    EXPECT_EQ(t->asInteger(kWhole), -3);
    EXPECT_THROW(t->setValue(kWhole, Value::real(1e30)), EngineError);
    EXPECT_EQ(t->asInteger(kWhole), -3);
}

}  // namespace
}  // namespace tal
