// Typing into the edit window while the longest possible program is current: one value assigned
// to a line through its check, then the event loop turn that refreshes the grid and the window.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <filesystem>

#include "limits/limits_file.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "ui/edit_window.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"
#include "workbench/workbench.h"

namespace tal::bench {
namespace {

constexpr int kLongestProgram = kMaxProgramLines;

// The windows' desktop, with the new-program and new-line dialogs answered at once.
class ScriptedDesktop : public QtDesktop {
public:
    NewProgramResult askNewProgram(unsigned, bool) override { return {DialogAnswer::Create, 0}; }
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Create; }
};

void BM_AssignWithTheEditWindowOpen(benchmark::State& st) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("tal-edit-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string error;
    const LimitsReadResult limits = parseLimitsSource(deliveredLimitsSource());
    const std::string limitsPath = (folder / "TALC.DB").string();
    if (!limits.ok() || !writeLimitsFile(limitsPath, limits.records, error)) {
        st.SkipWithError("limits table");
        return;
    }

    ScriptedDesktop desktop;
    Workbench bench(desktop);
    bench.limits().setPath(limitsPath);
    bench.state().machineModel = "ТАЛ-1";
    bench.state().currentImage = makeBlankImage();
    bench.store().ClearTables();
    TForm1 main(bench.store());
    TForm2 edit(bench.store(), bench.editWindow(), desktop);
    desktop.attach(&main, &edit, nullptr, nullptr);
    bench.ApplyLimitHints();
    bench.editWindow().FormCreate();
    main.show();
    edit.show();

    Table& headers = bench.store().headers();
    Table& lines = bench.store().lines();
    headers.insert();
    bench.state().appendFlag = true;
    for (int i = 0; i < kLongestProgram; ++i) {
        lines.insert();
        lines.setInteger(ln::param(1), 1000);
        lines.setFloat(ln::param(6), 12.5);
        lines.post();
    }
    bench.state().appendFlag = false;
    lines.first();
    lines.moveBy(kLongestProgram / 2);
    QCoreApplication::processEvents();

    int i = 0;
    for (auto _ : st) {
        lines.setFloat(ln::param(6), (i++ % 2) ? 12.5 : 13.25);
        QCoreApplication::processEvents();
    }
    lines.post();
    st.counters["lines"] = lines.recordCount();
    desktop.attach(nullptr, nullptr, nullptr, nullptr);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AssignWithTheEditWindowOpen)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tal::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
