#pragma once

#include <string>

#include "bench/bench_desktop.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "workbench/workbench.h"

namespace tal::bench {

// A workbench on a blank image whose programs are made through the toolbar commands.
struct BenchEditor {
    BenchDesktop desktop;
    // The programs are filled without the value checks, which would need a limits table.
    Workbench bench{desktop, ValueCheckMode::Unchecked};
    Image blank = makeBlankImage();

    BenchEditor() {
        bench.store().setBlankImageReader([this] {
            bench.state().currentImage = blank;
            return true;
        });
        bench.state().currentImage = blank;
        bench.store().ClearTables();
    }

    void createProgram(int number, int lineCount) {
        desktop.focus = Grid::Headers;
        desktop.answer = {DialogAnswer::Create, number};
        bench.gridCommands().SpeedButton7Click();
        Table& lines = bench.store().lines();
        for (int i = 0; i < lineCount; ++i) {
            desktop.focus = Grid::Lines;
            bench.gridCommands().SpeedButton7Click();
            lines.setInteger(ln::param(1), 1000 + i);
            lines.setFloat(ln::param(6), (i % 180) + 0.25);
            lines.setFloat(ln::param(8), 0.125);
            lines.setText(ln::param(19), "нет");
            lines.post();
        }
        Table& headers = bench.store().headers();
        headers.setText(hdr::Remark, "Программа " + std::to_string(number));
        headers.post();
    }
};

}  // namespace tal::bench
