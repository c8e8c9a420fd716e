// Undo and redo of a step on the longest program, in a memory filled with programs.

#include <benchmark/benchmark.h>

#include "bench/bench_editor.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "workbench/workbench.h"

namespace tal::bench {
namespace {

// Program 0 of 254 lines and 220 programs of 6 lines: 1,795 of the 2,014 slots in use.
struct FilledEditor : BenchEditor {
    FilledEditor() {
        createProgram(0, kMaxProgramLines);
        for (int p = 1; p <= 220; ++p)
            createProgram(p, 6);
        bench.history().checkpoint();
        bench.store().headers().first();
    }
};

void undoRedo(benchmark::State& state, bool timeUndo, void (*command)(FilledEditor&)) {
    FilledEditor editor;
    History& history = editor.bench.history();
    command(editor);
    history.checkpoint();
    if (history.undoSteps() == 0)
        state.SkipWithError("the command made no step");
    for (auto _ : state) {
        if (!timeUndo)
            state.PauseTiming();
        history.undo();
        if (timeUndo)
            state.PauseTiming();
        else
            state.ResumeTiming();
        history.redo();
        if (timeUndo)
            state.ResumeTiming();
    }
}

void deleteLongestProgram(FilledEditor& editor) {
    editor.desktop.focus = Grid::Headers;
    editor.bench.store().headers().first();
    editor.bench.gridCommands().SpeedButton9Click();
}

void editLineOfLongestProgram(FilledEditor& editor) {
    editor.bench.store().headers().first();
    Table& lines = editor.bench.store().lines();
    lines.first();
    lines.moveBy(200);
    lines.setInteger(ln::param(4), 4321);
    lines.post();
}

void BM_UndoDeleteLongestProgram(benchmark::State& state) {
    undoRedo(state, true, deleteLongestProgram);
}
void BM_RedoDeleteLongestProgram(benchmark::State& state) {
    undoRedo(state, false, deleteLongestProgram);
}
void BM_UndoLineEditInLongestProgram(benchmark::State& state) {
    undoRedo(state, true, editLineOfLongestProgram);
}

// What every command pays after it: comparing the rows with the last state and keeping the step.
void BM_CheckpointAfterLineEdit(benchmark::State& state) {
    FilledEditor editor;
    Table& lines = editor.bench.store().lines();
    lines.first();
    lines.moveBy(200);
    std::int64_t value = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lines.setInteger(ln::param(4), ++value % 1000);
        lines.post();
        state.ResumeTiming();
        editor.bench.history().checkpoint();
    }
}

BENCHMARK(BM_UndoDeleteLongestProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteLongestProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoLineEditInLongestProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckpointAfterLineEdit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tal::bench
