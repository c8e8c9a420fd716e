// Images this system did not write: erased, zero-filled, foreign or damaged. What a load keeps a
// save keeps, and the allocation hands out only numbers and slots that are sound.

#include <gtest/gtest.h>

#include <algorithm>

#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"

namespace tal::test {
namespace {

RecordedMessage error(const char* text, const char* caption) {
    return {text, caption, MessageIcon::Error, MessageButtons::Ok};
}
const RecordedMessage kNoSlot = error("Исчерпана память строк", "Ошибка создания строки");
const RecordedMessage kNoProgram = error("Исчерпана память программ", "Ошибка создания программы");

Image erased() {
    Image image;
    image.fill(0xFF);
    return image;
}

// Writes program `entry` as a chain over `slots` (header first) with the links of a sound
// program; byte 3 of the entry holds `held`. Each slot gets a value of its own in its first word.
void writeChain(Image& image, int entry, std::vector<int> slots, int held = -1) {
    setHeaderSlot(image, entry, static_cast<std::uint16_t>(slots[0]));
    image[directoryOffset(entry) + 3] = static_cast<std::uint8_t>(held < 0 ? entry : held);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const int slot = slots[i];
        const int next = slots[i + 1 < slots.size() ? i + 1 : i];
        writeWord(image, slotOffset(slot), static_cast<std::uint16_t>(3 * slot + 1));
        setNextStr(image, slot, static_cast<std::uint16_t>(next));
        if (i > 0)
            writeWord(image, slotOffset(slot) + 26, static_cast<std::uint16_t>(slots[i - 1]));
    }
    image[slotOffset(slots[0]) + 25] = static_cast<std::uint8_t>(slots.size());
}

std::vector<int> slotRange(int first, int count) {
    std::vector<int> slots(count);
    for (int i = 0; i < count; ++i)
        slots[i] = first + i;
    return slots;
}

// Every value but the engine's own key of every row of these programs.
std::vector<std::vector<Value>> rowsOf(const Table& table,
                                       const std::vector<std::int64_t>& programs) {
    const int programField = table.fieldIndex("ProgNum");
    std::vector<std::vector<Value>> rows;
    for (int row = 0; row < table.storedRowCount(); ++row) {
        const auto program = table.storedValue(row, programField).asInteger();
        if (std::find(programs.begin(), programs.end(), program) == programs.end())
            continue;
        std::vector<Value> values;
        for (int field = 1; field < static_cast<int>(table.fields().size()); ++field)
            values.push_back(table.storedValue(row, field));
        rows.push_back(std::move(values));
    }
    return rows;
}

class DamagedImages : public StoreFixture {
protected:
    void load(const Image& image) {
        state().currentImage = image;
        store().LoadImage(dir.path("w.bin"));
    }
    // Creates a program with two lines with whatever number and slots the allocation gives;
    // -1 when none is left.
    std::int64_t createWhatFits() {
        const auto number = store().FindFreeProgramNumber();
        if (number >= kProgramCount)
            return -1;
        createProgram(number, 2);
        return number;
    }
    TempFolder dir;
};

TEST_F(DamagedImages, WhatALoadKeepsASaveKeepsAndTheOperatorIsToldOnce) {
    const Image blankImage = makeBlankImage();
    auto damaged = [&](auto damage) {
        Image image = blankImage;
        damage(image);
        return image;
    };
    const struct Case {
        const char* name;
        Image image;
        std::vector<std::int64_t> programs;  // as loaded
        std::vector<std::string> said;       // parts of the message
    } cases[] = {
        {"erased: every byte 0xFF",
         erased(),
         {},
         // Every slot, every entry but 255 holding 255, every entry naming no slot.
         {"нарушений: " + std::to_string(kSlotCount + 255 + kProgramCount) + ")",
          "слот 1 хранит номер 65535\n", "слот 5 хранит номер 65535\n… и ещё",
          "Ни один слот не хранит свой номер",
          "Не загружены программы без заглавного слота: 255 (записей каталога: 256)."}},
        {"zero-filled", Image{}, {}, {"нарушений: 2015)", "Ни один слот не хранит свой номер"}},
        {"a number held by two entries",
         damaged([](Image& i) {
             writeChain(i, 3, {10, 11});
             writeChain(i, 4, {20, 21}, 3);
         }),
         {3, 4},
         {"программа 4: в каталоге записан номер 3\n", "повторно, заменены свободными: 3 → 4."}},
        {"the second one's own number held too: the lowest free one",
         damaged([](Image& i) {
             writeChain(i, 3, {10});
             writeChain(i, 4, {20}, 3);
             writeChain(i, 5, {30}, 4);
         }),
         {0, 3, 4},
         {"3 → 0."}},
        {"two entries name one header",
         damaged([](Image& i) {
             writeChain(i, 1, {30, 31});
             setHeaderSlot(i, 2, 30);
         }),
         {1},
         {"слот 30 принадлежит программам 1 и 2", "без заглавного слота: 2."}},
        {"a chain runs into another program's header",
         damaged([](Image& i) {
             writeChain(i, 2, {50, 51});
             writeChain(i, 1, {40, 41});
             setNextStr(i, 41, 50);
         }),
         {1, 2},
         {"Не полностью прочитаны программы: 1 ("}},
        {"a header found only where another number belongs",
         damaged([](Image& i) {
             writeChain(i, 5, {60});
             writeWord(i, slotOffset(60) + 30, 61);
             setHeaderSlot(i, 5, 61);
         }),
         {},
         {"слот 60 хранит номер 61", "без заглавного слота: 5."}},
        {"a header slot marked free",
         damaged([](Image& i) {
             writeChain(i, 6, {70, 71});
             setNextStr(i, 70, 0);
         }),
         {},
         {"программа 6: заглавный слот свободен", "без заглавного слота: 6."}},
        {"a line beyond the last slot, a line in a free slot, a circle",
         damaged([](Image& i) {
             writeChain(i, 0, {12, 13});
             setNextStr(i, 13, 3000);
             writeChain(i, 1, {14, 15, 16});
             setNextStr(i, 16, 0);
             writeChain(i, 2, {17, 18, 19});
             setNextStr(i, 19, 18);
         }),
         {0, 1, 2},
         {"Не полностью прочитаны программы: 0, 1, 2 ("}},
        {"a program of 300 lines",
         damaged([](Image& i) { writeChain(i, 9, slotRange(100, 301)); }),
         {9},
         {"программа 9: число строк 45 вместо 301"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(writeFileAtomically(dir.path("w.txt"), ""), WriteStatus::Ok);
        load(c.image);
        EXPECT_EQ(programNumbers(), c.programs);
        const std::string text = desktop.takeOneError("Загрузка данных", c.said);
        EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 11);

        // Whatever is created next takes no slot and no number of what was loaded.
        const auto headersBefore = rowsOf(headers(), c.programs);
        const auto linesBefore = rowsOf(lines(), c.programs);
        auto expected = c.programs;
        if (const auto created = createWhatFits(); created >= 0 && lines().recordCount() == 2)
            expected.push_back(created);
        std::sort(expected.begin(), expected.end());
        desktop.takeMessages();
        ASSERT_TRUE(store().StoreImage(dir.path("w.bin")));
        load(state().currentImage);
        EXPECT_EQ(programNumbers(), expected);
        EXPECT_EQ(rowsOf(headers(), c.programs), headersBefore);
        EXPECT_EQ(rowsOf(lines(), c.programs), linesBefore);
        if (c.programs.size() == 1 && c.programs[0] == 9) {
            // Too long for ProgSize, but stored as read; nothing else is off.
            EXPECT_EQ(desktop.takeMessages().size(), 1u);
        } else {
            EXPECT_TRUE(desktop.takeMessages().empty()) << "the save wrote a damaged image";
        }
    }
}

TEST_F(DamagedImages, AllocationHandsOutOnlySoundNumbersAndSlots) {
    const struct Case {
        const char* name;
        Image image;
        bool loaded;  // through the loader, as Open does, or as the allocation map only
        std::vector<std::int64_t> answers;
        std::vector<unsigned> proposed;
        std::vector<RecordedMessage> messages;
        std::vector<std::int64_t> slots;  // of the new header and its line
    } cases[] = {
        {"zero-filled: no slot carries its number", Image{}, false, {}, {}, {kNoSlot}, {}},
        {"erased: every entry in use", erased(), false, {}, {}, {kNoProgram}, {}},
        {"slots without their own numbers are passed over",
         [] {
             Image i = makeBlankImage();
             writeWord(i, slotOffset(1) + 30, 0);
             writeWord(i, slotOffset(2) + 30, 7);
             return i;
         }(),
         false,
         {0},
         {0},
         {},
         {3, 4}},
        {"an entry that holds another number is passed over",
         [] {
             Image i = makeBlankImage();
             i[directoryOffset(0) + 3] = 5;
             return i;
         }(),
         false,
         {1},
         {1},
         {},
         {1, 2}},
        {"a number a loaded program took from another entry",
         [] {
             Image i = makeBlankImage();
             writeChain(i, 0, {10}, 1);
             return i;
         }(),
         true,
         {1, 2},
         {2, 2},
         {error("Такая программа уже есть", "Ошибка создания программы")},
         {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state().currentImage = c.image;
        if (c.loaded)
            store().LoadImage("");
        else
            store().ClearTables();
        desktop.takeMessages();
        desktop.newProgramQuestions.clear();
        const int before = headers().recordCount();
        for (const auto number : c.answers)
            desktop.newProgramAnswers.push_back({DialogAnswer::Create, number});
        desktop.focus = Grid::Headers;
        commands().SpeedButton7Click();
        addLines(1);
        std::vector<unsigned> proposed;
        for (const auto& [number, paste] : desktop.newProgramQuestions)
            proposed.push_back(number);
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(desktop.takeMessages(), c.messages);
        if (c.slots.empty()) {
            EXPECT_EQ(headers().recordCount(), before);
            EXPECT_EQ(state().currentImage, c.image);
            continue;
        }
        ASSERT_EQ(headers().recordCount(), before + 1);
        EXPECT_EQ(headers().asInteger(hdr::CurStr), c.slots[0]);
        EXPECT_EQ(lineSlots(), std::vector<std::int64_t>{c.slots[1]});
    }
}

TEST_F(DamagedImages, AProgramTooLongToStoreIsNotCopiedAndTheLongestPastesWhole) {
    Image image = makeBlankImage();
    writeChain(image, 1, slotRange(100, kMaxProgramLines + 1));  // the longest sound program
    writeChain(image, 9, slotRange(400, 301));                   // 300 lines: a damaged image
    load(image);
    desktop.takeMessages();
    desktop.focus = Grid::Headers;
    commands().SpeedButton60Click();
    ASSERT_EQ(desktop.clipboardIndicator, "1");

    headers().last();
    ASSERT_EQ(lines().recordCount(), 300);
    commands().SpeedButton60Click();
    EXPECT_EQ(desktop.takeMessages(),
              std::vector{error("Программа 9 содержит 300 строк, а в программе намотки может "
                                "быть не больше 254. Программа не скопирована.",
                                "Ошибка копирования программы")});
    EXPECT_EQ(desktop.clipboardIndicator, "1");
    EXPECT_EQ(state().clipboard.clipboardBound, kMaxProgramLines + 1);

    desktop.newProgramAnswers = {{DialogAnswer::Paste, 2}};
    commands().SpeedButton7Click();
    EXPECT_TRUE(desktop.takeMessages().empty());
    EXPECT_EQ(headers().asInteger(hdr::ProgNum), 2);
    EXPECT_EQ(lines().recordCount(), kMaxProgramLines);
    EXPECT_EQ(headers().asInteger(hdr::ProgSize), kMaxProgramLines + 1);
    EXPECT_EQ(lines().rowValue(kMaxProgramLines - 1, ln::param(1)).asInteger(),
              3 * (100 + kMaxProgramLines) + 1);
}

}  // namespace
}  // namespace tal::test
