// An editor session that makes an edit through the editor's commands and then keeps its recovery
// copy as the running editor does, until it is killed. Usage: recovery_child FOLDER
// (FOLDER holds TAL.ini; the copy goes where XDG_STATE_HOME says).

#include <chrono>
#include <string>
#include <thread>

#include "store/editing_tables.h"
#include "store/image_file.h"
#include "support/fake_desktop.h"
#include "workbench/workbench.h"

int main(int argc, char** argv) {
    using namespace tal;
    if (argc != 2)
        return 2;
    test::FakeDesktop desktop;
    Workbench bench(desktop, ValueCheckMode::Unchecked);
    EditorState& state = bench.state();
    state.blankImagePath = std::string(argv[1]) + "/TAL.ini";
    if (readBlankImageFile(state.blankImagePath, state.currentImage) != ImageReadStatus::Ok)
        return 3;
    bench.startup().FormShow();
    bench.recovery().FormShow();

    desktop.focus = Grid::Headers;
    desktop.newProgramAnswers.push_back({DialogAnswer::Create, 12});
    bench.gridCommands().SpeedButton7Click();
    desktop.focus = Grid::Lines;
    bench.gridCommands().SpeedButton7Click();
    bench.gridCommands().SpeedButton7Click();
    Table& lines = bench.store().lines();
    lines.setInteger(ln::param(4), 321);  // as the edit window assigns a typed value
    bench.editWindow().ScrollBox1Exit();
    Table& headers = bench.store().headers();
    headers.setText(hdr::Remark, "после сбоя");
    bench.editWindow().ScrollBox0Exit();

    for (;;) {
        bench.recovery().refresh();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
