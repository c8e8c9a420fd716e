#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor/image.h"
#include "support/fake_desktop.h"
#include "workbench/workbench.h"

namespace tal::test {

// A workbench on a fake desktop, started like the editor: blank image, empty tables. The value
// checks, which need a limits table, are left out; tests/limits has their own fixture.
class StoreFixture : public ::testing::Test {
public:
    StoreFixture();

    ProgramStore& store() { return bench.store(); }
    GridCommands& commands() { return bench.gridCommands(); }
    EditorState& state() { return bench.state(); }
    Table& headers() { return bench.store().headers(); }
    Table& lines() { return bench.store().lines(); }

    // Creates program `number` with `lineCount` empty lines through the toolbar commands.
    void createProgram(int number, int lineCount = 0);
    void addLines(int count);                    // "Добавить" on the line grid
    std::vector<std::int64_t> lineSlots();       // CurStr of the current program's lines in order
    std::vector<std::int64_t> programNumbers();  // ProgNum of the headers in table order

    FakeDesktop desktop;
    Workbench bench{desktop, ValueCheckMode::Unchecked};
    Image blank;
};

// The rows and currentImage agree: numbering, chain links, ProgSize, and the program numbers and
// slots in use are exactly those of the rows.
::testing::AssertionResult tablesMatchImage(ProgramStore& store);

}  // namespace tal::test
