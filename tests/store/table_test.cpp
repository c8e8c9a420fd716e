#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tal
