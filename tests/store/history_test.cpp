#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "editor/editor_state.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "support/file_bytes.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"
#include "workbench/history.h"

namespace tal::test {
namespace {

using Rows = std::vector<std::vector<Value>>;

Rows storedRows(const Table& table) {
    Rows rows;
    for (int row = 0; row < table.storedRowCount(); ++row) {
        rows.emplace_back();
        for (std::size_t field = 0; field < table.fields().size(); ++field)
            rows.back().push_back(table.storedValue(row, static_cast<int>(field)));
    }
    return rows;
}

// The UI takes a checkpoint after every event; these tests take one after every command.
class HistoryTest : public StoreFixture {
protected:
    History& history() { return bench.history(); }
    Rows headerRows() { return storedRows(headers()); }
    Rows lineRows() { return storedRows(lines()); }

    void create(int number, int lineCount) {
        createProgram(number, lineCount);
        history().checkpoint();
    }
    // Posts `value` into field `field` of line `line` (1-based) of the current program.
    void editLine(int line, int field, Value value) {
        lines().first();
        lines().moveBy(line - 1);
        lines().setValue(field, std::move(value));
        lines().post();
        history().checkpoint();
    }
    void goToProgram(int number) { ASSERT_TRUE(headers().findKey({Value::integer(number)})); }
    void deleteCurrent(Grid grid) {
        desktop.focus = grid;
        desktop.messageAnswers.push_back(MessageAnswer::Yes);
        commands().SpeedButton9Click();
        history().checkpoint();
    }
    // Programs 1 (3 lines), 7 (254 lines, the longest, some fields left empty) and 9 (2 lines),
    // with values and remarks, as the step history starts from.
    void fillPrograms() {
        create(1, 3);
        create(7, kMaxProgramLines);
        create(9, 2);
        for (int number : {1, 7, 9}) {
            goToProgram(number);
            headers().setFloat(hdr::param(2), 12.35 + number);
            headers().setText(hdr::Remark, "программа " + std::to_string(number));
            headers().post();
            for (int line = 1; line <= lines().recordCount(); line += 3) {
                editLine(line, ln::param(4), Value::integer(100 + line));
                editLine(line, ln::param(8), Value::real(0.125));
            }
        }
        history().checkpoint();
    }
};

TEST_F(HistoryTest, UndoOfDeletingTheLongestProgramPutsBackTablesAndStoredImageByteForByte) {
    fillPrograms();
    TempFolder dir;
    ASSERT_TRUE(store().StoreImage(dir.path("before.bin")));
    const Image storedBefore = state().currentImage;
    const Rows headersBefore = headerRows();
    const Rows linesBefore = lineRows();
    history().checkpoint();

    goToProgram(7);
    deleteCurrent(Grid::Headers);
    ASSERT_EQ(programNumbers(), (std::vector<std::int64_t>{1, 9}));
    state().modified = false;

    ASSERT_TRUE(history().undo());
    EXPECT_EQ(headerRows(), headersBefore);
    EXPECT_EQ(lineRows(), linesBefore);
    EXPECT_TRUE(tablesMatchImage(store()));
    EXPECT_TRUE(state().modified);
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 7);
    EXPECT_EQ(lines().asInteger(ln::StrNum), 1);
    EXPECT_EQ(lines().recordCount(), kMaxProgramLines);

    ASSERT_TRUE(store().StoreImage(dir.path("after.bin")));
    EXPECT_EQ(imageBytes(state().currentImage), imageBytes(storedBefore));
    const ReadResult remarksBefore = readFile(dir.path("before.txt"));
    const ReadResult remarksAfter = readFile(dir.path("after.txt"));
    ASSERT_EQ(remarksBefore.status, ReadStatus::Ok);
    ASSERT_EQ(remarksAfter.status, ReadStatus::Ok);
    EXPECT_EQ(remarksAfter.bytes, remarksBefore.bytes);
}

TEST_F(HistoryTest, UndoThenRedoOfAPastedProgram) {
    create(3, 4);
    editLine(2, ln::param(1), Value::integer(1500));
    desktop.focus = Grid::Headers;
    commands().SpeedButton60Click();
    const Rows headersBefore = headerRows();
    const Rows linesBefore = lineRows();
    const Image imageBefore = state().currentImage;

    desktop.newProgramAnswers = {{DialogAnswer::Paste, 5}};
    commands().SpeedButton7Click();
    history().checkpoint();
    ASSERT_EQ(programNumbers(), (std::vector<std::int64_t>{3, 5}));
    const Rows headersPasted = headerRows();
    const Rows linesPasted = lineRows();
    const Image imagePasted = state().currentImage;

    ASSERT_TRUE(history().undo());
    EXPECT_EQ(headerRows(), headersBefore);
    EXPECT_EQ(lineRows(), linesBefore);
    EXPECT_EQ(state().currentImage, imageBefore);

    ASSERT_TRUE(history().redo());
    EXPECT_EQ(headerRows(), headersPasted);
    EXPECT_EQ(lineRows(), linesPasted);
    EXPECT_EQ(state().currentImage, imagePasted);
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 5);
    EXPECT_FALSE(history().redo());
    // The pasted program is a program like any other: new lines find free slots.
    addLines(1);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(HistoryTest, UndoAndRedoMakeTheChangedLineCurrent) {
    create(2, 5);
    const auto slots = lineSlots();
    struct Case {
        const char* what;
        std::function<void()> command;
        std::int64_t undoneSlot;  // current after undo
        int redoneLine;           // StrNum current after redo
    };
    const std::vector<Case> cases = {
        {"delete line 3",
         [&] {
             editLine(3, ln::param(2), Value::integer(7));
             deleteCurrent(Grid::Lines);
         },
         slots[2], 3},
        {"insert before line 2",
         [&] {
             lines().first();
             lines().next();
             desktop.focus = Grid::Lines;
             commands().SpeedButton8Click();
             history().checkpoint();
         },
         slots[1], 2},
        {"edit line 4", [&] { editLine(4, ln::param(4), Value::integer(44)); }, slots[3], 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        history().reset();
        c.command();
        headers().first();
        lines().last();
        ASSERT_TRUE(history().undo());
        EXPECT_EQ(lines().asInteger(ln::CurStr), c.undoneSlot);
        lines().first();
        ASSERT_TRUE(history().redo());
        EXPECT_EQ(lines().asInteger(ln::StrNum), c.redoneLine);
        ASSERT_TRUE(history().undo());
        EXPECT_EQ(lineSlots(), slots);
    }
}

TEST_F(HistoryTest, ARefusedValueIsNoStep) {
    create(4, 1);
    const int steps = static_cast<int>(history().undoSteps());
    lines().setValidator(ln::param(4), [](Table& table, int field) {
        if (table.asInteger(field) > 1000)
            throw ValidationError("слишком много");
    });
    editLine(1, ln::param(4), Value::integer(500));
    EXPECT_THROW(editLine(1, ln::param(4), Value::integer(5000)), ValidationError);
    lines().cancel();
    history().checkpoint();
    EXPECT_EQ(history().undoSteps(), static_cast<std::size_t>(steps + 1));
    ASSERT_TRUE(history().undo());
    EXPECT_TRUE(lines().value(ln::param(4)).isNull());
}

TEST_F(HistoryTest, APendingEditIsPostedBeforeTheUndoOrLeftAsItIsWhenRefused) {
    create(6, 2);
    lines().last();
    lines().setInteger(ln::param(10), 3);  // typed, not posted
    ASSERT_TRUE(history().undo());
    EXPECT_EQ(lines().state(), TableState::Browse);
    EXPECT_TRUE(lines().value(ln::param(10)).isNull());
    ASSERT_TRUE(history().redo());
    EXPECT_EQ(lines().asInteger(ln::param(10)), 3);

    const std::size_t steps = history().undoSteps();
    auto refuse = lines().subscribeUpdateRecord([] { throw ValidationError("нельзя"); });
    lines().setInteger(ln::param(10), 9);
    EXPECT_THROW(history().undo(), ValidationError);
    EXPECT_EQ(lines().state(), TableState::Edit);
    EXPECT_EQ(lines().asInteger(ln::param(10)), 9);
    EXPECT_EQ(history().undoSteps(), steps);
}

TEST_F(HistoryTest, KeepsTheLastHundredSteps) {
    create(8, 1);
    for (int value = 1; value <= 105; ++value)
        editLine(1, ln::param(4), Value::integer(value));
    for (int step = 0; step < 100; ++step)
        ASSERT_TRUE(history().undo()) << step;
    EXPECT_FALSE(history().undo());
    EXPECT_EQ(lines().asInteger(ln::param(4)), 5);
    for (int step = 0; step < 100; ++step)
        ASSERT_TRUE(history().redo()) << step;
    EXPECT_FALSE(history().redo());
    EXPECT_EQ(lines().asInteger(ln::param(4)), 105);
}

TEST_F(HistoryTest, ANewStepDropsTheStepsUndone) {
    create(8, 1);
    editLine(1, ln::param(4), Value::integer(1));
    editLine(1, ln::param(4), Value::integer(2));
    ASSERT_TRUE(history().undo());
    editLine(1, ln::param(4), Value::integer(3));
    EXPECT_FALSE(history().redo());
    ASSERT_TRUE(history().undo());
    EXPECT_EQ(lines().asInteger(ln::param(4)), 1);
}

TEST_F(HistoryTest, ClearingOrLoadingStartsAFreshHistorySavingDoesNot) {
    create(1, 2);
    TempFolder dir;
    ASSERT_TRUE(store().StoreImage(dir.path("a.bin")));
    history().checkpoint();
    EXPECT_GT(history().undoSteps(), 0u);

    store().LoadImage(dir.path("a.bin"));
    EXPECT_EQ(history().undoSteps(), 0u);
    EXPECT_FALSE(history().undo());
    create(2, 0);
    store().ClearTables();
    EXPECT_EQ(history().undoSteps(), 0u);
    EXPECT_FALSE(history().redo());
}

}  // namespace
}  // namespace tal::test
