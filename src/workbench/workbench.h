#pragma once

#include <memory>

#include "device/device_transfer.h"
#include "editor/editor_state.h"
#include "files/startup.h"
#include "files/working_files.h"
#include "store/program_store.h"

namespace tal {

class Desktop;

// One editing workbench: the editor state, the program store with its two tables, and the
// wiring between them. The GUI and the command-line tool each hold one.
class Workbench {
public:
    explicit Workbench(Desktop& desktop);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    EditorState& state() { return m_state; }
    ProgramStore& store() { return m_store; }
    Desktop& desktop() { return m_desktop; }
    Startup& startup() { return m_startup; }
    WorkingFiles& workingFiles() { return m_workingFiles; }
    DeviceTransfer& deviceTransfer() { return m_deviceTransfer; }

    // Opening Table0 and Table1 then checks their files in the current directory.
    void useTableFiles();

private:
    Desktop& m_desktop;
    EditorState m_state;
    ProgramStore m_store;
    Startup m_startup;
    WorkingFiles m_workingFiles;
    DeviceTransfer m_deviceTransfer;
};

}  // namespace tal
