// Loading and storing images, the export's check of the values, pasting and deleting the longest
// program.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench_editor.h"
#include "device/export_limits_question.h"
#include "limits/limits_file.h"
#include "limits/limits_table.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "workbench/workbench.h"

namespace tal::bench {
namespace {

struct Editor : BenchEditor {
    // Every program number in use and all 2,014 slots that can be handed out, in programs of
    // at most 254 lines.
    Image fullImage() {
        const int lines = kSlotCount - 1 - kProgramCount;
        static_assert((kSlotCount - 1 - kProgramCount) / kProgramCount < kMaxProgramLines);
        for (int p = 0; p < kProgramCount; ++p)
            createProgram(p, lines / kProgramCount + (p < lines % kProgramCount ? 1 : 0));
        bench.store().StoreImage("");
        return bench.state().currentImage;
    }

    Image demoImage() {
        for (int p = 0; p < 6; ++p)
            createProgram(p * 3 + 1, 4 + p * 2);
        bench.store().StoreImage("");
        return bench.state().currentImage;
    }
};

void loadImage(benchmark::State& state, Image (Editor::*make)()) {
    Editor editor;
    const Image image = (editor.*make)();
    for (auto _ : state) {
        editor.bench.state().currentImage = image;
        editor.bench.store().LoadImage("");
    }
}

void storeImage(benchmark::State& state, Image (Editor::*make)()) {
    Editor editor;
    const Image image = (editor.*make)();
    editor.bench.state().currentImage = image;
    editor.bench.store().LoadImage("");
    for (auto _ : state)
        editor.bench.store().StoreImage("");  // no remarks file written
    if (editor.bench.state().currentImage != image)
        state.SkipWithError("stored image differs");
}

void BM_LoadFullImage(benchmark::State& state) {
    loadImage(state, &Editor::fullImage);
}
void BM_StoreFullImage(benchmark::State& state) {
    storeImage(state, &Editor::fullImage);
}
void BM_LoadDemoImage(benchmark::State& state) {
    loadImage(state, &Editor::demoImage);
}
void BM_StoreDemoImage(benchmark::State& state) {
    storeImage(state, &Editor::demoImage);
}
BENCHMARK(BM_LoadFullImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreFullImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDemoImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreDemoImage)->Unit(benchmark::kMicrosecond);

// The export's check of every value of a full image against the delivered limits of ТАЛ-1, and
// the question put together (the bench programs leave most lines outside the limits, so
// thousands of findings are made).
void BM_ExportCheckFullImage(benchmark::State& state) {
    Editor editor;
    editor.bench.state().currentImage = editor.fullImage();
    editor.bench.store().LoadImage("");
    const auto talc = std::filesystem::temp_directory_path() / "tal-bench-TALC.DB";
    std::string error;
    const LimitsReadResult delivered = parseLimitsSource(deliveredLimitsSource());
    if (!delivered.ok() || !writeLimitsFile(talc.string(), delivered.records, error)) {
        state.SkipWithError("limits table not written");
        return;
    }
    LimitsTable limits(talc.string());
    for (auto _ : state) {
        const auto question = exportLimitsQuestion(editor.bench.store(), limits, "ТАЛ-1");
        benchmark::DoNotOptimize(question);
        if (!question)
            state.SkipWithError("no value refused");
    }
    std::filesystem::remove(talc);
}
BENCHMARK(BM_ExportCheckFullImage)->Unit(benchmark::kMillisecond);

// The longest program there can be, 254 lines, on the clipboard, pasted into a blank image and
// deleted again.
struct LongestProgram {
    Editor editor;
    LongestProgram() {
        editor.createProgram(0, kMaxProgramLines);
        editor.desktop.focus = Grid::Headers;
        editor.bench.gridCommands().SpeedButton60Click();
        editor.bench.state().currentImage = editor.blank;
        editor.bench.store().ClearTables();
    }
    void paste() {
        editor.desktop.focus = Grid::Headers;
        editor.desktop.answer = {DialogAnswer::Paste, 1};
        editor.bench.gridCommands().SpeedButton7Click();
    }
    void remove() {
        editor.desktop.focus = Grid::Headers;
        editor.bench.gridCommands().SpeedButton9Click();
    }
};

void BM_PasteLongestProgram(benchmark::State& state) {
    LongestProgram program;
    for (auto _ : state) {
        program.paste();
        state.PauseTiming();
        if (program.editor.bench.store().lines().recordCount() != kMaxProgramLines)
            state.SkipWithError("paste incomplete");
        program.remove();
        state.ResumeTiming();
    }
}

void BM_DeleteLongestProgram(benchmark::State& state) {
    LongestProgram program;
    for (auto _ : state) {
        state.PauseTiming();
        program.paste();
        state.ResumeTiming();
        program.remove();
    }
}
BENCHMARK(BM_PasteLongestProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteLongestProgram)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tal::bench
