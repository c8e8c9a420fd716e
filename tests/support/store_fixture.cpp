#include "support/store_fixture.h"

#include <array>
#include <map>
#include <set>

#include "store/editing_tables.h"
#include "store/memory_image.h"

namespace tal::test {

StoreFixture::StoreFixture() : blank(makeBlankImage()) {
    store().setBlankImageReader([this] {
        state().currentImage = blank;
        return true;
    });
    state().currentImage = blank;
    store().ClearTables();
    desktop.calls.clear();
}

void StoreFixture::createProgram(int number, int lineCount) {
    desktop.focus = Grid::Headers;
    desktop.newProgramAnswers.push_back({DialogAnswer::Create, number});
    commands().SpeedButton7Click();
    addLines(lineCount);
}

void StoreFixture::addLines(int count) {
    for (int i = 0; i < count; ++i) {
        desktop.focus = Grid::Lines;
        commands().SpeedButton7Click();
    }
}

std::vector<std::int64_t> StoreFixture::lineSlots() {
    std::vector<std::int64_t> slots;
    for (int i = 0; i < lines().recordCount(); ++i)
        slots.push_back(lines().rowValue(i, ln::CurStr).asInteger());
    return slots;
}

std::vector<std::int64_t> StoreFixture::programNumbers() {
    std::vector<std::int64_t> numbers;
    for (int i = 0; i < headers().recordCount(); ++i)
        numbers.push_back(headers().rowValue(i, hdr::ProgNum).asInteger());
    return numbers;
}

::testing::AssertionResult tablesMatchImage(ProgramStore& store) {
    Table& headers = store.headers();
    Table& lines = store.lines();
    const Image& image = store.state().currentImage;
    std::map<std::int64_t, std::vector<std::array<std::int64_t, 4>>>
        byProgram;  // StrNum, Cur, Pred, Next
    for (int i = 0; i < lines.storedRowCount(); ++i)
        byProgram[lines.storedValue(i, ln::ProgNum).asInteger()].push_back(
            {lines.storedValue(i, ln::StrNum).asInteger(),
             lines.storedValue(i, ln::CurStr).asInteger(),
             lines.storedValue(i, ln::PredStr).asInteger(),
             lines.storedValue(i, ln::NextStr).asInteger()});
    std::set<int> usedPrograms, usedSlots;
    auto fail = [](const std::string& what) { return ::testing::AssertionFailure() << what; };
    for (int i = 0; i < headers.storedRowCount(); ++i) {
        const auto p = headers.storedValue(i, hdr::ProgNum).asInteger();
        const auto h = headers.storedValue(i, hdr::CurStr).asInteger();
        const std::string name = "program " + std::to_string(p) + ": ";
        if (headerSlotOf(image, static_cast<int>(p)) != h)
            return fail(name + "directory does not name its slot");
        usedPrograms.insert(static_cast<int>(p));
        usedSlots.insert(static_cast<int>(h));
        const auto& programLines = byProgram[p];
        std::int64_t previous = h;
        for (std::size_t k = 0; k < programLines.size(); ++k) {
            const auto& [number, cur, pred, next] = programLines[k];
            if (number != static_cast<std::int64_t>(k + 1))
                return fail(name + "line numbers not 1..n");
            if (pred != previous)
                return fail(name + "PredStr of line " + std::to_string(k + 1));
            const std::int64_t expectedNext =
                k + 1 < programLines.size() ? programLines[k + 1][1] : cur;
            if (next != expectedNext)
                return fail(name + "NextStr of line " + std::to_string(k + 1));
            if (!usedSlots.insert(static_cast<int>(cur)).second)
                return fail(name + "slot used twice");
            previous = cur;
        }
        const std::int64_t first = programLines.empty() ? h : programLines.front()[1];
        if (headers.storedValue(i, hdr::NextStr).asInteger() != first)
            return fail(name + "header NextStr");
        if (headers.storedValue(i, hdr::ProgSize).asInteger() !=
            static_cast<std::int64_t>(programLines.size() + 1))
            return fail(name + "ProgSize");
        byProgram.erase(p);
    }
    if (!byProgram.empty())
        return fail("lines without a header");
    for (int p = 0; p < kProgramCount; ++p)
        if ((headerSlotOf(image, p) != 0) != (usedPrograms.count(p) == 1))
            return fail("program " + std::to_string(p) + " marked wrongly in the directory");
    for (int s = 1; s <= kSlotCount; ++s)
        if ((nextStrOf(image, s) != 0) != (usedSlots.count(s) == 1))
            return fail("slot " + std::to_string(s) + " marked wrongly");
    return ::testing::AssertionSuccess();
}

}  // namespace tal::test
