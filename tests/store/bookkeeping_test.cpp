// Creating, deleting, copying and pasting programs and lines through the toolbar commands.

#include <gtest/gtest.h>

#include <functional>

#include "store/edit_window_commands.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "store/record_navigation.h"
#include "support/store_fixture.h"

namespace tal::test {
namespace {

using Bookkeeping = StoreFixture;

RecordedMessage error(const char* text, const char* caption) {
    return {text, caption, MessageIcon::Error, MessageButtons::Ok};
}

TEST_F(Bookkeeping, NewProgramTakesTheFirstFreeNumberAndSlot) {
    createProgram(0);
    EXPECT_EQ(desktop.newProgramQuestions.at(0), std::make_pair(0u, false));
    EXPECT_EQ(headers().asInteger(hdr::CurStr), 1);
    EXPECT_EQ(headers().asInteger(hdr::NextStr), 1);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 1);
    const Image& image = state().currentImage;
    EXPECT_EQ(image[0x20], 0x00);
    EXPECT_EQ(image[0x21], 0x01);
    EXPECT_EQ(image[slotOffset(1) + 28], 0x00);
    EXPECT_EQ(image[slotOffset(1) + 29], 0x01);

    addLines(1);
    EXPECT_EQ(lines().asInteger(ln::StrNum), 1);
    EXPECT_EQ(lines().asInteger(ln::PredStr), 1);
    EXPECT_EQ(lines().asInteger(ln::NextStr), 2);
    EXPECT_EQ(lines().asInteger(ln::CurStr), 2);
    EXPECT_EQ(headers().asInteger(hdr::NextStr), 2);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 2);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, TheDialogProposesTheFirstFreeNumberEachTime) {
    createProgram(0);
    createProgram(2);
    desktop.focus = Grid::Headers;
    desktop.newProgramAnswers = {{DialogAnswer::Create, 256},
                                 {DialogAnswer::Create, 2},
                                 {DialogAnswer::Create, 1000000},
                                 {DialogAnswer::Create, 7}};
    commands().SpeedButton8Click();
    std::vector<unsigned> proposed;
    for (auto [number, paste] : desktop.newProgramQuestions)
        proposed.push_back(number);
    EXPECT_EQ(proposed, (std::vector<unsigned>{0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(desktop.takeMessages(),
              (std::vector<RecordedMessage>{
                  error("Недопустимый номер программы", "Ошибка создания программы"),
                  error("Такая программа уже есть", "Ошибка создания программы"),
                  error("Недопустимый номер программы", "Ошибка создания программы")}));
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 7);
    EXPECT_EQ(state().programNumberEntry, 7);
    EXPECT_EQ(headers().recordCount(), 3);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, MemoryIsTestedBeforeAnyDialog) {
    // All programs in use.
    for (int p = 0; p < kProgramCount; ++p)
        setHeaderSlot(state().currentImage, p, 1);
    desktop.focus = Grid::Headers;
    commands().SpeedButton7Click();
    EXPECT_EQ(desktop.takeMessages(),
              std::vector{error("Исчерпана память программ", "Ошибка создания программы")});
    EXPECT_TRUE(desktop.newProgramQuestions.empty());
    EXPECT_EQ(headers().recordCount(), 0);
    EXPECT_EQ(headers().state(), TableState::Browse);

    // Only slot 2015 free: neither a program nor a line can be made.
    state().currentImage = blank;
    createProgram(0);
    for (int s = 2; s < kSlotCount; ++s)
        setNextStr(state().currentImage, s, s);
    desktop.focus = Grid::Headers;
    commands().SpeedButton7Click();
    desktop.focus = Grid::Lines;
    commands().SpeedButton7Click();
    const auto noSlot = error("Исчерпана память строк", "Ошибка создания строки");
    EXPECT_EQ(desktop.takeMessages(), (std::vector{noSlot, noSlot}));
    EXPECT_EQ(headers().recordCount(), 1);
    EXPECT_EQ(lines().recordCount(), 0);
    EXPECT_EQ(desktop.newProgramQuestions.size(), 1u);
}

TEST_F(Bookkeeping, The255thLineIsRefusedWhereverLinesAreMade) {
    createProgram(1, kMaxProgramLines);
    ASSERT_EQ(lines().recordCount(), kMaxProgramLines);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), kMaxProgramLines + 1);
    EXPECT_TRUE(desktop.takeMessages().empty());
    lines().first();
    lines().next();
    desktop.focus = Grid::Lines;
    commands().SpeedButton60Click();  // a line on the clipboard: a paste is offered too

    const auto pressed = [&](Grid grid, void (GridCommands::*button)()) {
        return [this, grid, button] {
            desktop.focus = grid;
            (commands().*button)();
        };
    };
    const struct {
        const char* way;
        std::function<void()> make;
    } ways[] = {
        {"\"Добавить\" on the line grid", pressed(Grid::Lines, &GridCommands::SpeedButton7Click)},
        {"\"Вставить\" on the line grid", pressed(Grid::Lines, &GridCommands::SpeedButton8Click)},
        {"\"Добавить строку\" of the edit window", [&] { bench.editWindow().SpeedButton1Click(); }},
        {"Insert of the line navigator",
         [&] { navigatorAction(lines(), NavigatorButton::Insert, desktop); }},
        {"Append of the line table", [&] { lines().append(); }},
    };
    const Image image = state().currentImage;
    const auto before = lineSlots();
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        desktop.calls.clear();
        w.make();
        EXPECT_EQ(desktop.takeMessages(),
                  std::vector{error("В программе намотки не может быть больше 254 строк",
                                    "Ошибка создания строки")});
        EXPECT_TRUE(desktop.newLineQuestions.empty());
        EXPECT_EQ(lines().state(), TableState::Browse);
        EXPECT_EQ(lineSlots(), before);
        EXPECT_EQ(lines().asInteger(ln::StrNum), 2);  // the current line stays current
        EXPECT_EQ(headers().asInteger(hdr::ProgSize), kMaxProgramLines + 1);
        EXPECT_EQ(state().currentImage, image);
        EXPECT_FALSE(state().appendFlag);
        for (const auto& call : desktop.calls)  // the repeat edits stay as the line has them
            EXPECT_EQ(call.find("DBEdit1"), std::string::npos) << call;
    }
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, InsertGoesBeforeTheCurrentLineAndAddAfterTheLast) {
    createProgram(0, 3);  // header slot 1, lines in slots 2, 3, 4
    lines().first();
    lines().next();  // line 2 (slot 3)
    desktop.focus = Grid::Lines;
    commands().SpeedButton8Click();  // new slot 5
    EXPECT_EQ(lines().asInteger(ln::CurStr), 5);
    EXPECT_EQ(lines().asInteger(ln::StrNum), 2);
    EXPECT_EQ(lineSlots(), (std::vector<std::int64_t>{2, 5, 3, 4}));
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 5);
    EXPECT_TRUE(tablesMatchImage(store()));

    lines().first();
    commands().SpeedButton7Click();  // "Добавить" appends whatever line is current
    EXPECT_EQ(lines().asInteger(ln::StrNum), 5);
    EXPECT_EQ(lineSlots(), (std::vector<std::int64_t>{2, 5, 3, 4, 6}));
    EXPECT_FALSE(state().appendFlag);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, CancelledDialogsChangeNothing) {
    createProgram(0, 1);
    const Image before = state().currentImage;
    desktop.focus = Grid::Headers;
    commands().SpeedButton7Click();  // no answer queued: cancelled
    EXPECT_EQ(headers().recordCount(), 1);

    state().clipboard.clipboardKind = Clipboard::Line;
    state().clipboard.clipboardCursor = 1;
    desktop.focus = Grid::Lines;
    commands().SpeedButton8Click();  // the new-line dialog is cancelled
    EXPECT_EQ(desktop.newLineQuestions.size(), 1u);
    EXPECT_EQ(lines().recordCount(), 1);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 2);
    EXPECT_EQ(state().currentImage, before);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Bookkeeping, DeletingLinesRenumbersRelinksAndFreesSlots) {
    createProgram(0, 4);  // lines in slots 2, 3, 4, 5
    lines().first();
    lines().next();
    desktop.focus = Grid::Lines;
    desktop.messageAnswers = {MessageAnswer::Yes};
    commands().SpeedButton9Click();
    EXPECT_EQ(desktop.takeMessages(),
              (std::vector<RecordedMessage>{{"Удалить строку программы? ", "Подтвердите удааление",
                                             MessageIcon::None, MessageButtons::YesNo}}));
    EXPECT_EQ(lineSlots(), (std::vector<std::int64_t>{2, 4, 5}));
    EXPECT_EQ(lines().asInteger(ln::CurStr), 4);  // the line that took the number is current
    EXPECT_EQ(nextStrOf(state().currentImage, 3), 0);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 4);
    EXPECT_TRUE(tablesMatchImage(store()));

    lines().last();
    desktop.messageAnswers = {MessageAnswer::Yes};
    commands().SpeedButton9Click();  // the last line: the new last one points to itself
    EXPECT_EQ(lines().asInteger(ln::CurStr), 4);
    EXPECT_EQ(lines().asInteger(ln::NextStr), 4);
    EXPECT_TRUE(tablesMatchImage(store()));

    for (int i = 0; i < 2; ++i) {
        desktop.messageAnswers = {MessageAnswer::Yes};
        commands().SpeedButton9Click();
    }
    EXPECT_EQ(lines().recordCount(), 0);
    EXPECT_EQ(headers().asInteger(hdr::NextStr), headers().asInteger(hdr::CurStr));
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 1);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, DeletingAProgramFreesItsNumberAndSlots) {
    createProgram(0, 1);
    createProgram(1, 3);
    desktop.focus = Grid::Headers;
    commands().SpeedButton9Click();  // answered No
    EXPECT_EQ(headers().recordCount(), 2);
    EXPECT_EQ(desktop.takeMessages().at(0).text, "Удалить программу намотки? ");

    desktop.messageAnswers = {MessageAnswer::Yes};
    commands().SpeedButton9Click();
    EXPECT_EQ(headers().recordCount(), 1);
    for (int slot : {3, 4, 5, 6})
        EXPECT_EQ(nextStrOf(state().currentImage, slot), 0) << slot;
    EXPECT_EQ(headerSlotOf(state().currentImage, 1), 0);
    EXPECT_TRUE(tablesMatchImage(store()));
    EXPECT_EQ(store().FindFreeProgramNumber(), 1);
}

TEST_F(Bookkeeping, RepeatEditsFollowTheRepeatCountOfTheCurrentLine) {
    createProgram(0, 2);
    lines().first();
    lines().setInteger(ln::param(16), 0);
    lines().post();
    lines().last();
    lines().setInteger(ln::param(16), 3);
    lines().post();
    lines().first();
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit17));
    EXPECT_FALSE(desktop.isEnabled(Control::DBEdit18));
    lines().next();
    EXPECT_TRUE(desktop.isEnabled(Control::DBEdit17));
    lines().clear(ln::param(16));
    lines().post();
    lines().first();
    lines().last();
    EXPECT_TRUE(desktop.isEnabled(Control::DBEdit18));  // empty counts as not 0
}

TEST_F(Bookkeeping, CopyAndPasteAProgramAnyNumberOfTimes) {
    createProgram(5, 3);
    for (int i = 0; i < 3; ++i) {
        lines().first();
        lines().moveBy(i);
        lines().setInteger(ln::param(4), 40000 + i);
        lines().setText(ln::param(19), "останов");
        lines().post();
    }
    headers().setFloat(hdr::Param02, 12.34);
    headers().setText(hdr::Remark, "не копируется");
    headers().post();
    desktop.focus = Grid::Headers;
    commands().SpeedButton60Click();
    EXPECT_EQ(desktop.clipboardIndicator, "5");
    EXPECT_EQ(state().clipboard.clipboardBound, 4);

    for (int number : {9, 10}) {
        desktop.focus = Grid::Headers;
        desktop.newProgramAnswers = {{DialogAnswer::Paste, number}};
        commands().SpeedButton7Click();
        EXPECT_TRUE(desktop.newProgramQuestions.back().second);  // "Вставить" offered
        EXPECT_EQ(headers().asInteger(hdr::ProgNum), number);
        EXPECT_EQ(headers().asFloat(hdr::Param02), 12.34);
        EXPECT_EQ(headers().asText(hdr::Remark), "");
        EXPECT_EQ(headers().asInteger(hdr::ProgSize), 4);
        ASSERT_EQ(lines().recordCount(), 3);
        EXPECT_EQ(desktop.focus, Grid::Lines);
        EXPECT_EQ(lines().asInteger(ln::StrNum), 3);  // the last pasted line is current
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(lines().rowValue(i, ln::param(4)).asInteger(), 40000 + i);
            EXPECT_EQ(lines().rowValue(i, ln::param(19)).asText(), "останов");
        }
        EXPECT_TRUE(tablesMatchImage(store()));
    }
}

TEST_F(Bookkeeping, CopyAndPasteALine) {
    createProgram(5, 3);
    lines().last();
    lines().setInteger(ln::param(1), 1234);
    lines().post();
    desktop.focus = Grid::Lines;
    commands().SpeedButton60Click();
    EXPECT_EQ(desktop.clipboardIndicator, "5/3");

    createProgram(6);
    desktop.newLineAnswers = {DialogAnswer::Paste, DialogAnswer::Create};
    addLines(2);
    EXPECT_EQ(desktop.newLineQuestions.at(0), std::make_pair(6u, true));
    EXPECT_EQ(lines().rowValue(0, ln::param(1)).asInteger(), 1234);
    EXPECT_TRUE(lines().rowValue(1, ln::param(1)).isNull());
    // With a line on the clipboard the new-program dialog offers no paste.
    desktop.focus = Grid::Headers;
    commands().SpeedButton7Click();
    EXPECT_FALSE(desktop.newProgramQuestions.back().second);
    EXPECT_TRUE(tablesMatchImage(store()));
}

TEST_F(Bookkeeping, PasteRunningOutOfSlotsKeepsThePastedLines) {
    createProgram(0, 5);
    desktop.focus = Grid::Headers;
    commands().SpeedButton60Click();
    // Leave exactly three free slots below 2015: the header and two lines fit.
    for (int s = 7; s < kSlotCount - 3; ++s)
        setNextStr(state().currentImage, s, s);
    desktop.focus = Grid::Headers;
    desktop.newProgramAnswers = {{DialogAnswer::Paste, 1}};
    commands().SpeedButton7Click();
    const auto messages = desktop.takeMessages();
    EXPECT_EQ(messages.size(), 3u);  // one per line that did not fit
    for (const auto& m : messages)
        EXPECT_EQ(m, error("Исчерпана память строк", "Ошибка создания строки"));
    EXPECT_EQ(lines().recordCount(), 2);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), 3);
    EXPECT_FALSE(state().appendFlag);
}

TEST_F(Bookkeeping, CopyWithNeitherGridFocusedDoesNothing) {
    createProgram(3);
    desktop.focus = Grid::None;
    commands().SpeedButton60Click();
    commands().SpeedButton9Click();
    commands().SpeedButton7Click();
    EXPECT_EQ(state().clipboard.clipboardKind, Clipboard::Empty);
    EXPECT_EQ(desktop.clipboardIndicator, "");
    EXPECT_EQ(headers().recordCount(), 1);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Bookkeeping, RowsAppendedWithoutBookkeepingGetNoSlot) {
    state().bookkeepingEnabled = false;
    headers().append();
    headers().setInteger(hdr::ProgNum, 4);
    headers().post();
    EXPECT_EQ(state().currentImage, blank);
    EXPECT_TRUE(headers().value(hdr::CurStr).isNull());
}

}  // namespace
}  // namespace tal::test
