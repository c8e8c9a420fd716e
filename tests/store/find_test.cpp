// "Найти": a program by its number in the header grid, a line of the current program in the line
// grid.

#include <gtest/gtest.h>

#include "store/editing_tables.h"
#include "store/grid_commands.h"
#include "support/store_fixture.h"

namespace tal::test {
namespace {

RecordedMessage error(const char* text, const char* caption) {
    return {text, caption, MessageIcon::Error, MessageButtons::Ok};
}
const RecordedMessage kBadProgram =
    error("Недопустимый номер программы", "Ошибка поиска программы");
const RecordedMessage kNoProgram = error("Программа не найдена", "Ошибка поиска программы");
const RecordedMessage kBadLine = error("Недопустимый номер строки", "Ошибка поиска строки");
const RecordedMessage kNoLine = error("Строка не найдена", "Ошибка поиска строки");

// Program 3 with two lines, program 12 with five, program 255 with one; program 3 is current.
class FindTest : public StoreFixture {
protected:
    FindTest() {
        createProgram(3, 2);
        createProgram(12, 5);
        createProgram(255, 1);
        headers().findKey({Value::integer(3)});
        desktop.messages.clear();
    }

    void find(Grid grid) {
        desktop.focus = grid;
        commands().SpeedButton6Click();
    }
};

TEST_F(FindTest, WithNeitherGridFocusedNoDialogOpens) {
    find(Grid::None);
    EXPECT_TRUE(desktop.findProgramQuestions.empty());
    EXPECT_TRUE(desktop.findLineQuestions.empty());
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 3);
}

TEST_F(FindTest, AProgramIsFoundAndTheLinesFollowIt) {
    desktop.findProgramAnswers = {12};
    find(Grid::Headers);
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 12);
    EXPECT_EQ(lines().recordCount(), 5);
    EXPECT_EQ(lines().asInteger(ln::ProgNum), 12);
    EXPECT_EQ(state().programNumberEntry, 12);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.findProgramQuestions.size(), 1u);
}

// Each refused or missing number is reported and the dialog comes again with the entry: the low
// 16 bits of what was entered. The range is tested on the number in full.
TEST_F(FindTest, RefusedAndMissingProgramsAskAgainUntilFoundOrCancelled) {
    struct Case {
        long long entered;
        std::optional<RecordedMessage> message;  // nothing: found
        unsigned entryAfter;
    } cases[] = {
        {256, kBadProgram, 256},
        // Its low 16 bits name program 12, which is never looked up.
        {65536 + 12, kBadProgram, 12},
        {2147483647, kBadProgram, 65535},
        {-1, kBadProgram, 65535},
        {0, kNoProgram, 0},
        {254, kNoProgram, 254},
        {255, std::nullopt, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entered);
        headers().findKey({Value::integer(3)});
        const unsigned shown = state().programNumberEntry;
        desktop.findProgramQuestions.clear();
        desktop.findProgramAnswers = {c.entered};  // then "Отменить"
        find(Grid::Headers);
        EXPECT_EQ(state().programNumberEntry, c.entryAfter);
        if (c.message) {
            EXPECT_EQ(desktop.takeMessages(), std::vector<RecordedMessage>{*c.message});
            EXPECT_EQ(desktop.findProgramQuestions, (std::vector<unsigned>{shown, c.entryAfter}));
            EXPECT_EQ(headers().asInteger(hdr::ProgNum), 3);  // left where it was
        } else {
            EXPECT_TRUE(desktop.takeMessages().empty());
            EXPECT_EQ(desktop.findProgramQuestions, std::vector<unsigned>{shown});
            EXPECT_EQ(headers().asInteger(hdr::ProgNum), 255);
        }
    }
}

TEST_F(FindTest, TheProgramEntryIsSharedWithTheNewProgramDialog) {
    find(Grid::Headers);  // cancelled at once
    // The last number entered in the new-program dialog.
    EXPECT_EQ(desktop.findProgramQuestions, std::vector<unsigned>{255});
    desktop.findProgramAnswers = {12};
    find(Grid::Headers);
    createProgram(40);
    EXPECT_EQ(desktop.newProgramQuestions.back().first, 0u);  // the first free number
    find(Grid::Headers);
    EXPECT_EQ(desktop.findProgramQuestions.back(), 40u);
}

TEST_F(FindTest, ALineIsFoundInTheCurrentProgramOnly) {
    desktop.findLineAnswers = {5, 2015, 0, 2014, 2};
    find(Grid::Lines);
    EXPECT_EQ(desktop.takeMessages(),
              (std::vector<RecordedMessage>{kNoLine, kBadLine, kNoLine, kNoLine}));
    // Line 5 exists in program 12 only: the search stayed in program 3.
    EXPECT_EQ(desktop.findLineQuestions, (std::vector<unsigned>{0, 5, 2015, 0, 2014}));
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 3);
    EXPECT_EQ(lines().asInteger(ln::ProgNum), 3);
    EXPECT_EQ(lines().asInteger(ln::StrNum), 2);
    EXPECT_EQ(state().lineNumberEntry, 2);
}

TEST_F(FindTest, ALineSearchSetsTheProgramEntryToTheCurrentProgram) {
    desktop.findLineAnswers = {1};
    find(Grid::Lines);
    EXPECT_EQ(state().programNumberEntry, 3);
    find(Grid::Headers);  // cancelled
    EXPECT_EQ(desktop.findProgramQuestions, std::vector<unsigned>{3});

    // A refused number sets no program entry: the range test comes first.
    headers().findKey({Value::integer(12)});
    state().programNumberEntry = 99;
    desktop.findLineAnswers = {70000};
    find(Grid::Lines);
    EXPECT_EQ(state().programNumberEntry, 99);
    EXPECT_EQ(state().lineNumberEntry, 70000 % 65536);
}

TEST_F(FindTest, ALookupSavesThePendingChangeOfItsTable) {
    headers().setText(hdr::Remark, "изменено");
    lines().last();
    lines().setInteger(ln::param(1), 1500);
    desktop.findLineAnswers = {1};
    find(Grid::Lines);
    EXPECT_EQ(lines().state(), TableState::Browse);
    EXPECT_EQ(lines().rowValue(1, ln::param(1)).asInteger(), 1500);

    desktop.findProgramAnswers = {12};
    find(Grid::Headers);
    EXPECT_EQ(headers().state(), TableState::Browse);
    headers().findKey({Value::integer(3)});
    EXPECT_EQ(headers().asText(hdr::Remark), "изменено");
    EXPECT_TRUE(tablesMatchImage(store()));
}

}  // namespace
}  // namespace tal::test
