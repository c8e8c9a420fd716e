// What the table engine announces for each operation: the contract the grids and the bound
// controls rely on.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/table.h"

namespace tal {
namespace {

enum : int { Key, Id, No, Qty };

std::string describe(const Table& table, const TableChange& change) {
    auto fields = [&] {
        std::string names;
        for (int f = 0; f < static_cast<int>(table.fields().size()); ++f)
            if (change.hasField(f))
                names += (names.empty() ? "" : ",") + table.fields()[f].name;
        return names;
    };
    switch (change.kind) {
        case ChangeKind::Reset:
            return "reset";
        case ChangeKind::RowsInserted:
            return "inserted " + std::to_string(change.row) + "+" + std::to_string(change.count);
        case ChangeKind::RowsRemoved:
            return "removed " + std::to_string(change.row) + "+" + std::to_string(change.count);
        case ChangeKind::RowMoved:
            return "moved " + std::to_string(change.from) + "->" + std::to_string(change.row);
        case ChangeKind::ValuesChanged:
            return "values " + std::to_string(change.row) + "+" + std::to_string(change.count) +
                   " " + fields();
        case ChangeKind::CursorMoved:
            return "cursor " + std::to_string(change.row);
        case ChangeKind::StateChanged: {
            static const char* const names[] = {"Inactive", "Browse", "Edit", "Insert"};
            return std::string("state ") + names[static_cast<int>(change.state)];
        }
    }
    return "?";
}

struct Tables {
    Table master{"m",
                 {{"Key", FieldType::AutoInc}, {"Id", FieldType::SmallInt}},
                 std::vector<std::string>{"Id"}};
    Table detail{"d",
                 {{"Key", FieldType::AutoInc},
                  {"Id", FieldType::SmallInt},
                  {"No", FieldType::SmallInt},
                  {"Qty", FieldType::SmallInt}},
                 std::vector<std::string>{"Id", "No"}};
    std::vector<std::string> heard;
    Table::Subscription masterEvents, detailEvents;

    // Master rows 1, 2, 3; detail rows (1,1), (1,2), (2,1); cursors on the first rows.
    Tables() {
        detail.setMaster(&master, "Id");
        master.open();
        detail.open();
        for (int id : {1, 2, 3})
            add(master, {{Id, id}});
        master.first();
        add(detail, {{Id, 1}, {No, 1}});
        add(detail, {{Id, 1}, {No, 2}});
        master.next();
        add(detail, {{Id, 2}, {No, 1}});
        master.first();
        detail.first();
        masterEvents = master.subscribe([this](const Table& t, const TableChange& c) {
            heard.push_back("m " + describe(t, c));
        });
        detailEvents = detail.subscribe([this](const Table& t, const TableChange& c) {
            heard.push_back("d " + describe(t, c));
        });
    }
    static void add(Table& t, std::initializer_list<std::pair<int, int>> values) {
        t.append();
        for (auto [field, v] : values)
            t.setInteger(field, v);
        t.post();
    }
};

struct EventCase {
    const char* operation;
    std::function<void(Tables&)> before;  // not heard
    std::function<void(Tables&)> action;
    std::vector<std::string> expected;
};

class TableEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(TableEvents, AnnounceWhatChanged) {
    const EventCase& c = GetParam();
    Tables t;
    if (c.before)
        c.before(t);
    t.heard.clear();
    c.action(t);
    EXPECT_EQ(t.heard, c.expected) << c.operation;
}

auto noop = [](Tables&) {};

INSTANTIATE_TEST_SUITE_P(
    Operations, TableEvents,
    ::testing::Values(
        EventCase{"open",
                  [](Tables& t) { t.detail.close(); },
                  [](Tables& t) { t.detail.open(); },
                  {"d reset", "d state Browse"}},
        EventCase{"close while editing: heard before the rows go, then inactive",
                  [](Tables& t) { t.detail.setInteger(No, 7); },
                  [](Tables& t) { t.detail.close(); },
                  {"d state Browse", "d reset", "d state Inactive"}},
        EventCase{"closing the master shows the detail all rows",
                  noop,
                  [](Tables& t) { t.master.close(); },
                  {"m reset", "m state Inactive", "d reset"}},
        EventCase{"edit", noop, [](Tables& t) { t.detail.edit(); }, {"d state Edit"}},
        EventCase{"assigning in browse state enters edit state first",
                  noop,
                  [](Tables& t) { t.detail.next(), t.heard.clear(), t.detail.setInteger(Qty, 5); },
                  {"d state Edit", "d values 1+1 Qty"}},
        EventCase{"assigning the value a field holds announces nothing but the edit state",
                  [](Tables& t) { t.detail.edit(); },
                  [](Tables& t) { t.detail.setInteger(No, 1); },
                  {}},
        EventCase{"post of an unchanged key",
                  [](Tables& t) { t.detail.setInteger(Qty, 1); },
                  [](Tables& t) { t.detail.post(); },
                  {"d state Browse"}},
        EventCase{"post of a changed key moves the row",
                  [](Tables& t) { t.detail.setInteger(No, 9); },
                  [](Tables& t) { t.detail.post(); },
                  {"d state Browse", "d moved 0->1", "d cursor 1"}},
        EventCase{"cancel of an edit restores the values",
                  [](Tables& t) { t.detail.setInteger(No, 9); },
                  [](Tables& t) { t.detail.cancel(); },
                  {"d state Browse", "d values 0+1 No"}},
        EventCase{"cancel of an edit that changed nothing",
                  [](Tables& t) { t.detail.edit(); },
                  [](Tables& t) { t.detail.cancel(); },
                  {"d state Browse"}},
        EventCase{"insert, assign, post",
                  noop,
                  [](Tables& t) {
                      t.detail.append();
                      t.detail.setInteger(Id, 1);
                      t.detail.setInteger(No, 3);
                      t.detail.post();
                  },
                  {"d state Insert", "d cursor -1", "d values -1+1 Id", "d values -1+1 No",
                   "d inserted 2+1", "d state Browse", "d cursor 2"}},
        EventCase{"cancel of an insert",
                  [](Tables& t) { t.detail.insert(); },
                  [](Tables& t) { t.detail.cancel(); },
                  {"d state Browse", "d cursor 0"}},
        EventCase{"delete: the following row becomes current",
                  noop,
                  [](Tables& t) { t.detail.remove(); },
                  {"d removed 0+1", "d cursor 0"}},
        EventCase{"moving the cursor; a move past the end announces nothing",
                  noop,
                  [](Tables& t) {
                      t.detail.next();
                      t.detail.next();
                  },
                  {"d cursor 1"}},
        EventCase{"a move that saves a pending edit",
                  [](Tables& t) { t.detail.setInteger(Qty, 4); },
                  [](Tables& t) { t.detail.last(); },
                  {"d state Browse", "d cursor 1"}},
        EventCase{"the master moves: the detail shows other rows",
                  noop,
                  [](Tables& t) { t.master.next(); },
                  {"m cursor 1", "d reset"}},
        EventCase{"refresh", noop, [](Tables& t) { t.detail.refresh(); }, {"d reset"}},
        EventCase{"replacing the rows discards a pending row and resets once; the detail follows",
                  [](Tables& t) { t.master.append(); },
                  [](Tables& t) {
                      t.master.replaceRows({{Value(), Value::integer(2)}, {Value()}});
                  },
                  {"m state Browse", "m cursor 0", "d reset", "m reset", "d reset"}},
        EventCase{"one announcement for a pass over the rows",
                  noop,
                  [](Tables& t) {
                      t.detail.updateVisibleRows(
                          [](Table::RowAccess& row) { row.setInteger(No, row.integer(No) + 10); });
                  },
                  {"d values 0+2 No"}}));

TEST(TableListeners, ALeaverHearsNothingMoreEvenInTheMiddleOfAnAnnouncement) {
    Tables t;
    std::vector<std::string> heard;
    Table::Subscription first, second, late;
    first = t.detail.subscribe([&](const Table&, const TableChange&) {
        heard.push_back("first");
        second.reset();  // leaves before its turn
        late =
            t.detail.subscribe([&](const Table&, const TableChange&) { heard.push_back("late"); });
    });
    second =
        t.detail.subscribe([&](const Table&, const TableChange&) { heard.push_back("second"); });
    t.detail.edit();
    EXPECT_EQ(heard, (std::vector<std::string>{"first"}));
    first.reset();
    heard.clear();
    t.detail.post();
    EXPECT_EQ(heard, (std::vector<std::string>{"late"}));
}

TEST(TableListeners, ASubscriptionMayOutliveItsTable) {
    Table::Subscription subscription;
    {
        Table table("t", {{"Id", FieldType::SmallInt}}, std::vector<std::string>{"Id"});
        subscription = table.subscribe([](const Table&, const TableChange&) {});
    }
    subscription.reset();  // nothing to detach from, and no crash
}

TEST(TableUpdateRecord, EveryPostAsksForTypedTextFirstAndARefusalStopsIt) {
    Tables t;
    int asked = 0;
    bool refuse = false;
    auto update = t.detail.subscribeUpdateRecord([&] {
        ++asked;
        if (refuse)
            throw ValidationError("refused");
    });
    t.detail.post();  // browse state: nothing pending, nobody asked
    EXPECT_EQ(asked, 0);

    t.detail.setInteger(Qty, 5);
    refuse = true;
    EXPECT_THROW(t.detail.next(), ValidationError);  // the implicit post asks too
    EXPECT_EQ(t.detail.state(), TableState::Edit);
    EXPECT_EQ(t.detail.recNo(), 0);
    refuse = false;
    t.detail.post();
    EXPECT_EQ(t.detail.state(), TableState::Browse);
    EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace tal
