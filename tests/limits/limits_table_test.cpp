#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>

#include "limits/field_check.h"
#include "limits/limits_table.h"
#include "limits/model_warning.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/table_files.h"
#include "store/text.h"
#include "support/fake_desktop.h"
#include "support/limits_data.h"
#include "support/process.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

void execSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << error;
}

// Every (model, field) with its hint as ApplyLimitHints left it.
std::vector<std::string> hintCalls(const FakeDesktop& desktop) {
    std::vector<std::string> calls;
    for (const auto& call : desktop.calls)
        if (call.rfind("hint ", 0) == 0)
            calls.push_back(call);
    return calls;
}

TEST(DeliveredLimits, HoldOneRowForEachCheckedFieldOfBothModels) {
    const auto records = deliveredLimits();
    std::set<std::string> checked;
    for (const FieldEntry* field : checkedFields())
        checked.insert(std::string(field->name));
    for (const std::string model : {"ТАЛ-1", "ТАЛ-2"}) {
        std::multiset<std::string> fields;
        for (const auto& record : records)
            if (record.config == model) {
                fields.insert(record.fieldName);
                EXPECT_TRUE(record.minValue && record.maxValue) << model << record.fieldName;
                EXPECT_FALSE(record.title.empty()) << model << record.fieldName;
            }
        EXPECT_EQ(fields, std::multiset<std::string>(checked.begin(), checked.end())) << model;
    }
    EXPECT_EQ(records.size(), 2 * checkedFields().size());
    // The edit window's initial hint is ТАЛ-1's message.
    EXPECT_EQ(limitsMessage(records, "ТАЛ-1", "Param 02"), kInitialParam02Hint);
}

TEST(DeliveredLimits, TalInitWritesThemAsTalcDb) {
    TempFolder dir;
    ASSERT_EQ(runShell(std::string(TAL_CLI_PATH) + " init " + dir.path("")), 0);
    const LimitsReadResult read = readLimitsFile(dir.path("TALC.DB"));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.records, deliveredLimits());
    for (const char* name : {"talp.db", "tals.db", "talp.px", "tals.px", "talp.val", "tals.val"})
        EXPECT_TRUE(fileExists(dir.path(name))) << name;
}

TEST(LimitsSource, RefusesMalformedText) {
    const std::string header = "Config\tFieldName\tMinValue\tMaxValue\tTitle\tMessage\n";
    const struct {
        std::string text;
        std::string error;  // a part of the error
    } cases[] = {
        {"", "нет строки заголовка"},
        {"# only a comment\n", "нет строки заголовка"},
        {"Config\tField\tMinValue\tMaxValue\tTitle\tMessage\n", "строка 1"},
        {header + "ТАЛ-1\tParam 1\t10\t3000\tT\n", "строка 2"},
        {header + "\n# note\nТАЛ-1\tParam 1\t1,5\t3000\tT\tM\n", "строка 4: поле MinValue"},
        {header + "ТАЛ-1\tParam 1\t1\t3000x\tT\tM\n", "поле MaxValue"},
        {header + "ТАЛ-1\tParam 1\t1\t2\tT\t" + std::string(37, 'M') + "\n", "Message"},
        {header + "ТАЛ-12345678\tParam 1\t1\t2\tT\tM\n", "Config"},
        {header + "ТАЛ-1\tParam 100\t1\t2\tT\tM\n", "FieldName"},
    };
    for (const auto& c : cases) {
        const LimitsReadResult parsed = parseLimitsSource(c.text);
        EXPECT_FALSE(parsed.ok()) << c.text;
        EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
        EXPECT_TRUE(parsed.records.empty());
    }
    const LimitsReadResult fine =
        parseLimitsSource(header + "ТАЛ-1\tParam 1\t\t2.5\t\t" + std::string(36, 'M') + "\r\n");
    ASSERT_TRUE(fine.ok()) << fine.error;
    EXPECT_EQ(fine.records, (std::vector<LimitsRecord>{{"ТАЛ-1", "Param 1", std::nullopt, 2.5, "",
                                                        std::string(36, 'M')}}));
}

TEST(LimitsFile, AFailedWriteKeepsTheOldFile) {
    TempFolder dir;
    writeLimits(dir.path("TALC.DB"), deliveredLimits());
    ASSERT_TRUE(writeFileAtomically(dir.path("file"), "x") == WriteStatus::Ok);
    std::string error;
    EXPECT_FALSE(writeLimitsFile(dir.path("file/TALC.DB"), deliveredLimits(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readLimitsFile(dir.path("TALC.DB")).records, deliveredLimits());
}

TEST(LimitsTable, MissingOrMalformedFileFailsToOpenWithTheReason) {
    TempFolder dir;
    const std::string path = dir.path("TALC.DB");
    const struct {
        const char* name;
        std::function<void()> make;
        std::string reason;
    } cases[] = {
        {"missing", [] {}, "Не найден файл таблицы пределов"},
        {"not a database",
         [&] { ASSERT_EQ(writeFileAtomically(path, std::string(4096, 'x')), WriteStatus::Ok); },
         "это не база данных SQLite"},
        {"another table", [&] { execSql(path, "CREATE TABLE other (a INT)"); }, "нет таблицы TALC"},
        {"a column missing",
         [&] {
             execSql(path,
                     "CREATE TABLE TALC (Key INTEGER PRIMARY KEY, Config TEXT, FieldName TEXT, "
                     "MinValue FLOAT, MaxValue FLOAT, Title TEXT)");
         },
         "нет поля Message"},
        {"a bound that is no number",
         [&] {
             writeLimits(path, deliveredLimits());
             execSql(path, "UPDATE TALC SET MinValue = 'десять' WHERE Key = 4");
         },
         "запись Key=4: поле MinValue не число"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        removeFile(path);
        c.make();
        LimitsTable limits(path);
        try {
            limits.Open();
            ADD_FAILURE() << "opened";
        } catch (const EngineError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
        EXPECT_FALSE(limits.isOpen());
        try {
            limits.FindLimits("ТАЛ-1", "Param 02");
            ADD_FAILURE() << "found in a closed table";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

TEST(LimitsTable, TextsLongerThanTheirFieldsAreCutAndNoted) {
    TempFolder dir;
    const std::string path = dir.path("TALC.DB");
    auto records = deliveredLimits();
    writeLimits(path, records);
    const std::string longMessage = "Допустимые пределы от нуля и до ста восьмидесяти мм";
    execSql(path, "UPDATE TALC SET Message = '" + longMessage + "', Title = '" +
                      std::string(40, 'T') + "' WHERE Key = 2");
    LimitsTable limits(path);
    limits.Open();
    ASSERT_TRUE(limits.FindLimits(records[1].config, records[1].fieldName));
    EXPECT_EQ(limits.current().message, utf8Truncate(longMessage, kMessageLength));
    EXPECT_EQ(utf8Length(limits.current().message), kMessageLength);
    ASSERT_EQ(limits.cutTexts().size(), 2u);
    EXPECT_NE(limits.cutTexts()[0].find("запись Key=2: текст поля Title"), std::string::npos);
    EXPECT_NE(limits.cutTexts()[1].find("запись Key=2: текст поля Message длиннее 36"),
              std::string::npos);
    // Every other row is read as it stands.
    ASSERT_TRUE(limits.FindLimits(records[0].config, records[0].fieldName));
    EXPECT_EQ(limits.current().message, records[0].message);
}

// A table another program holds locked (an engineer's SQLite tool in the middle of a change) is
// busy, not damaged: the operator is told to close that program.
TEST(LimitsTable, ATableHeldByAnotherProgramIsReportedAsBusy) {
    TempFolder dir;
    const std::string limitsPath = dir.path("TALC.DB");
    writeLimits(limitsPath, deliveredLimits());
    std::string error;
    ASSERT_TRUE(writeTableFiles(dir.path(""), error)) << error;
    const auto headers = makeHeaderTable();
    const struct {
        const char* name;
        std::string path;
        std::function<void()> open;
    } cases[] = {
        {"TALC.DB", limitsPath, [&] { LimitsTable(limitsPath).Open(); }},
        {"talp.db", dir.path("talp.db"), [&] { checkTableFile(dir.path("talp.db"), *headers); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(c.path.c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        try {
            c.open();
            ADD_FAILURE() << "opened while locked";
        } catch (const EngineError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.path + " занят"), std::string::npos) << message;
            EXPECT_EQ(message.find("повреждён"), std::string::npos) << message;
        }
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        EXPECT_NO_THROW(c.open());  // released, it opens again
    }
}

class LimitsTableTest : public ::testing::Test {
protected:
    void open(const std::vector<LimitsRecord>& records) {
        writeLimits(dir.path("TALC.DB"), records);
        limits.setPath(dir.path("TALC.DB"));
        limits.Open();
    }

    TempFolder dir;
    LimitsTable limits;
};

TEST_F(LimitsTableTest, FindsRowsWhateverTheLetterCase) {
    auto records = deliveredLimits();
    records.push_back(limitsRecord("ТЁМНЫЙ", "Param 1", 1, 2, "ё"));
    records.push_back(limitsRecord("tal-x", "Param 1", 1, 2, "latin"));
    records.push_back(limitsRecord("ДЛИННАЯМОД", "Param 1", 1, 2, "ten letters"));
    open(records);
    const struct {
        const char* model;
        const char* field;
        std::optional<std::string> message;
    } cases[] = {
        {"тал-1", "param 02", "Допустимые пределы 0..180 мм"},
        {"ТАЛ-2", "PARAM 8", "Допустимые пределы 0,05..9,999 мм"},
        {"Тал-2", "Param 8", "Допустимые пределы 0,05..9,999 мм"},
        {"тёмный", "Param 1", "ё"},
        {"TAL-X", "param 1", "latin"},
        {"ТАЛ-3", "Param 02", std::nullopt},
        {"ТАЛ-1", "Param 03", std::nullopt},
        {"ТАЛ-1", "Param 0", std::nullopt},
        {"ТАЛ", "Param 02", std::nullopt},
        // Longer than the field: it must not match the row holding its first ten letters.
        {"ДЛИННАЯМОДЕЛЬ", "Param 1", std::nullopt},
        {"ТАЛ-1", "Param 1xxx", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " / " + c.field);
        const bool found = limits.FindLimits(c.model, c.field);
        EXPECT_EQ(found, c.message.has_value());
        if (found && c.message) {
            EXPECT_EQ(limits.current().message, *c.message);
        }
    }
    EXPECT_TRUE(limits.hasModel("тал-2"));
    EXPECT_FALSE(limits.hasModel("ТАЛ-3"));
    EXPECT_FALSE(limits.hasModel("ДЛИННАЯМОДЕЛЬ"));
}

TEST_F(LimitsTableTest, RowsAreReadInModelThenFieldNameOrder) {
    open({limitsRecord("тал-2", "Param 1", 0, 1, "a"), limitsRecord("ТАЛ-1", "Param 2", 0, 1, "b"),
          limitsRecord("Тал-1", "param 1", 0, 1, "c"), limitsRecord("АБВ", "Param 9", 0, 1, "d")});
    Table& table = limits.table();
    std::vector<std::string> walk;
    for (table.first(); !table.eof(); table.next())
        walk.push_back(table.asText(lim::Config) + "/" + table.asText(lim::FieldName));
    EXPECT_EQ(walk, (std::vector<std::string>{"АБВ/Param 9", "Тал-1/param 1", "ТАЛ-1/Param 2",
                                              "тал-2/Param 1"}));
}

TEST_F(LimitsTableTest, RefusesEveryChange) {
    open(deliveredLimits());
    Table& table = limits.table();
    const int count = table.recordCount();
    table.first();
    const Value message = table.value(lim::Message);
    EXPECT_THROW(table.setText(lim::Message, "x"), EngineError);
    EXPECT_THROW(table.edit(), EngineError);
    EXPECT_THROW(table.append(), EngineError);
    EXPECT_THROW(table.insert(), EngineError);
    EXPECT_THROW(table.remove(), EngineError);
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(table.recordCount(), count);
    EXPECT_EQ(table.value(lim::Message), message);
}

TEST_F(LimitsTableTest, OpeningAgainReadsTheFileAgain) {
    open(deliveredLimits());
    limits.Open();  // already open: nothing happens
    EXPECT_EQ(limits.table().recordCount(), 32);
    writeLimits(dir.path("TALC.DB"), {limitsRecord("ТАЛ-1", "Param 02", 0, 50, "новое")});
    limits.Close();
    limits.Open();
    EXPECT_EQ(limits.table().recordCount(), 1);
    ASSERT_TRUE(limits.FindLimits("ТАЛ-1", "Param 02"));
    EXPECT_EQ(limits.current().maxValue, 50);
}

class LimitHintsTest : public LimitsTableTest {
protected:
    FakeDesktop desktop;
    EditorState state;
};

TEST_F(LimitHintsTest, CopiesTheModelsMessagesIntoTheSixteenHints) {
    const auto records = deliveredLimits();
    open(records);
    state.machineModel = "ТАЛ-2";
    state.lastValueAccepted = false;
    limits.ApplyLimitHints(state, desktop);
    EXPECT_TRUE(state.lastValueAccepted);
    std::vector<std::string> expected;
    for (const FieldEntry* field : checkedFields())
        expected.push_back("hint " + std::string(controlName(*field->edit.control)) + " " +
                           limitsMessage(records, "ТАЛ-2", std::string(field->name)).value());
    EXPECT_EQ(desktop.calls, expected);
}

TEST_F(LimitHintsTest, AModelWithoutARowLeavesThatHintAsItWas) {
    auto records = deliveredLimits();
    for (const FieldEntry* field : checkedFields())
        if (field->name != "Param 02" && field->name != "Param 17")
            records.push_back(limitsRecord("ТАЛ-3", std::string(field->name), 0, 1,
                                           "ТАЛ-3 " + std::string(field->name)));
    open(records);
    state.machineModel = "ТАЛ-1";
    limits.ApplyLimitHints(state, desktop);
    desktop.calls.clear();
    state.machineModel = "ТАЛ-3";
    limits.ApplyLimitHints(state, desktop);
    EXPECT_EQ(hintCalls(desktop).size(), checkedFields().size() - 2);
    EXPECT_EQ(desktop.hints["DBEdit02"], "Допустимые пределы 0..180 мм");
    EXPECT_EQ(desktop.hints["DBEdit17"], "Меньше числа строк программы");
    EXPECT_EQ(desktop.hints["DBEdit18"], "ТАЛ-3 Param 18");

    desktop.calls.clear();
    state.machineModel = "ТАЛ-9";
    limits.ApplyLimitHints(state, desktop);
    EXPECT_TRUE(desktop.calls.empty());
}

}  // namespace
}  // namespace tal::test

namespace tal::test {
namespace {

// A model the table does not know would leave every value unchecked in silence: start-up says so
// once, naming the model and the table's models.
TEST(LimitsTable, AnUnknownModelIsWarnedOfOnce) {
    TempFolder dir;
    const std::string path = dir.path("TALC.DB");
    writeLimits(path, deliveredLimits());
    const std::string delivered = "«ТАЛ-1», «ТАЛ-2»";
    const struct {
        const char* name;
        std::string model;
        bool warned;
    } cases[] = {
        {"a model of the table", "ТАЛ-2", false},
        {"another letter case", "тал-1", false},
        {"no settings file", "", false},
        // The UTF-8 bytes of ТАЛ-1 read as Windows-1251.
        {"TAL.cfg saved as UTF-8", decodeCp1251("ТАЛ-1"), true},
        {"TAL.cfg with CR LF", "ТАЛ-1\r", true},
        {"a model the table lacks", "ТАЛ-3", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktop desktop;
        EditorState state;
        state.machineModel = c.model;
        LimitsTable limits(path);
        EXPECT_EQ(WarnUnknownModel(state, limits, desktop), c.warned);
        if (!c.warned) {
            EXPECT_TRUE(desktop.messages.empty());
            continue;
        }
        ASSERT_EQ(desktop.messages.size(), 1u);
        const RecordedMessage& message = desktop.messages[0];
        EXPECT_NE(message.text.find("«" + c.model + "»"), std::string::npos) << message.text;
        EXPECT_NE(message.text.find(delivered), std::string::npos) << message.text;
        EXPECT_EQ(message.caption, "Загрузка приложения");
    }
}

}  // namespace
}  // namespace tal::test
