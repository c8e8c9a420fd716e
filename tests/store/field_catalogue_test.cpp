#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "store/memory_image.h"
#include "store/slot_codec.h"
#include "store/table_files.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

struct Column {
    std::string name;
    std::string type;
    bool operator==(const Column&) const = default;
};

std::vector<Column> columnsOf(const std::string& path, const std::string& table) {
    sqlite3* db = nullptr;
    std::vector<Column> columns;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "PRAGMA table_info(\"" + table + "\")";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
            while (sqlite3_step(statement) == SQLITE_ROW)
                columns.push_back(
                    {reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
                     reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))});
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return columns;
}

std::string sqlType(const FieldEntry& field) {
    switch (field.type) {
        case FieldType::AutoInc:
            return "INTEGER";
        case FieldType::SmallInt:
            return "SMALLINT";
        case FieldType::Integer:
            return "INT";
        case FieldType::Float:
            return "FLOAT";
        case FieldType::String:
            return "VARCHAR(" + std::to_string(field.size) + ")";
    }
    return {};
}

TEST(FieldCatalogue, TheTablesAndTheirFilesHoldTheCataloguesFields) {
    TempFolder dir;
    std::string error;
    ASSERT_TRUE(writeTableFiles(dir.path(""), error)) << error;
    const struct {
        FieldTable which;
        std::unique_ptr<Table> table;
        const char* file;
    } tables[] = {{FieldTable::Headers, makeHeaderTable(), "talp.db"},
                  {FieldTable::Lines, makeLineTable(), "tals.db"}};
    for (const auto& [which, table, file] : tables) {
        SCOPED_TRACE(file);
        std::vector<Column> expected;
        for (const FieldEntry& field : fieldsOf(which)) {
            expected.push_back({std::string(field.name), sqlType(field)});
            // A name used twice in one table would find only its first field.
            EXPECT_EQ(table->fieldIndex(field.name), field.index) << field.name;
            EXPECT_EQ(findField(which, field.name), &field);
            EXPECT_EQ(&fieldAt(which, field.index), &field);
        }
        EXPECT_EQ(columnsOf(dir.path(file), table->name()), expected);
        EXPECT_NO_THROW(checkTableFile(dir.path(file), *table));
    }
    EXPECT_EQ(findField(FieldTable::Headers, "Param 1"), nullptr);
    EXPECT_EQ(findField(FieldTable::Lines, "Remark"), nullptr);
}

// The form's name of the control that shows a field: the field's number after the kind of
// control, but for the three fields named otherwise.
std::string expectedControlName(const FieldEntry& field) {
    if (field.table == FieldTable::Headers && field.index == hdr::ProgNum)
        return "ProgDBText";
    if (field.table == FieldTable::Lines && field.index == ln::StrNum)
        return "StringDBText";
    if (field.table == FieldTable::Headers && field.index == hdr::Remark)
        return "DBEdit06";
    const std::string number(field.name.substr(field.name.find(' ') + 1));
    return (field.isChoice() ? "DBRadioGroup" : "DBEdit") + number;
}

TEST(FieldCatalogue, EachControlOfTheEditWindowShowsTheFieldItIsNamedFor) {
    int shown = 0;
    for (const FieldEntry& field : fieldCatalogue()) {
        if (!field.edit.control)
            continue;
        ++shown;
        SCOPED_TRACE(field.name);
        EXPECT_EQ(controlName(*field.edit.control), expectedControlName(field));
        EXPECT_EQ(findField(*field.edit.control), &field);
        EXPECT_FALSE(field.edit.caption.empty());
    }
    // Every control from the program number to the end-of-winding group shows a field.
    const int first = static_cast<int>(Control::ProgDBText);
    const int last = static_cast<int>(Control::DBRadioGroup19);
    EXPECT_EQ(shown, last - first + 1);
    for (int c = first; c <= last; ++c)
        EXPECT_NE(findField(static_cast<Control>(c)), nullptr) << controlName(Control(c));
    EXPECT_EQ(findField(Control::ScrollBox0), nullptr);
}

TEST(FieldCatalogue, EachCheckedFieldIsEditedAndNamesItsHandler) {
    std::vector<std::string> names;
    for (const FieldEntry* field : checkedFields()) {
        SCOPED_TRACE(field->name);
        names.push_back(std::string(field->name));
        std::string handler = field->table == FieldTable::Headers ? "Table0" : "Table1";
        for (char c : field->name)
            if (c != ' ')
                handler += c;
        EXPECT_EQ(field->check.handler, handler + "Validate");
        ASSERT_TRUE(field->edit.control);
        EXPECT_GT(field->edit.maxLength, 0);
        EXPECT_EQ(field->check.step.multiplier != 0, field->type == FieldType::Float);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Param 02", "Param 04", "Param 05", "Param 1",
                                               "Param 2", "Param 4", "Param 6", "Param 7",
                                               "Param 8", "Param 10", "Param 11", "Param 14",
                                               "Param 15", "Param 16", "Param 17", "Param 18"}));
}

// A value that uses the whole width of the field's place in the slot (`high`), or the lowest
// one.
Value sampleValue(const FieldEntry& field, bool high) {
    const int position = field.index;  // makes neighbouring fields differ
    switch (field.slot.code) {
        case SlotCode::None:
            break;
        case SlotCode::Byte:
            return Value::integer(high ? 255 - position : 0);
        case SlotCode::Word:
            return Value::integer(high ? 65535 - position : 0);
        case SlotCode::SlotWord:
            // A smallint slot number holds all 16 bits, the high ones as negative numbers.
            return Value::integer(high ? -1 - position : 0);
        case SlotCode::ScaledByte:
            return Value::real(high ? (255 - position) / double(field.slot.scale) : 0.0);
        case SlotCode::ScaledWord:
            return Value::real(high ? (65535 - position) / double(field.slot.scale) : 0.0);
        case SlotCode::Bits: {
            const Choice& choice = *field.slot.choice;
            return Value::text(std::string(choice.texts[high ? choice.count - 1 : 0]));
        }
        case SlotCode::NonZeroBit:
            return Value::integer(high ? 1 : 0);
    }
    return {};
}

TEST(FieldCatalogue, EveryFieldOfASlotComesBackAsItWasWritten) {
    const struct {
        FieldTable which;
        std::unique_ptr<Table> (*make)();
        void (*write)(Image&, int, const Table&);
        void (*read)(const Image&, int, std::vector<Value>&);
    } tables[] = {{FieldTable::Headers, makeHeaderTable, writeHeaderSlot, readHeaderSlot},
                  {FieldTable::Lines, makeLineTable, writeLineSlot, readLineSlot}};
    constexpr int kSlot = 17;
    for (const auto& t : tables) {
        Image image = makeBlankImage();
        // Writing the low values after the high ones shows that each field clears its bits.
        for (bool high : {true, false}) {
            SCOPED_TRACE(high ? "high values" : "low values");
            auto written = t.make();
            written->open();
            written->append();
            for (const FieldEntry& field : fieldsOf(t.which))
                if (field.slot.code != SlotCode::None)
                    written->setValue(field.index, sampleValue(field, high));
            t.write(image, kSlot, *written);

            std::vector<Value> read;
            t.read(image, kSlot, read);
            for (const FieldEntry& field : fieldsOf(t.which)) {
                if (field.slot.code != SlotCode::None) {
                    EXPECT_EQ(read.at(field.index), sampleValue(field, high)) << field.name;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tal::test
