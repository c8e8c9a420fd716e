#pragma once

#include <memory>

#include "device/device_transfer.h"
#include "editor/editor_state.h"
#include "files/recovery.h"
#include "files/settings_window.h"
#include "files/startup.h"
#include "files/working_files.h"
#include "limits/limits_table.h"
#include "limits/model_warning.h"
#include "limits/value_checks.h"
#include "store/edit_window_commands.h"
#include "store/grid_commands.h"
#include "store/program_store.h"
#include "workbench/history.h"

namespace tal {

class Desktop;

// Whether assignments to the sixteen checked fields run their value checks. The editor always
// checks; tools that build tables from data they trust (`tal build`) may leave the checks out.
enum class ValueCheckMode { Checked, Unchecked };

// One editing workbench: the editor state, the program store with its two tables, the limits
// table, and the wiring between them. The GUI and the command-line tool each hold one.
class Workbench {
public:
    explicit Workbench(Desktop& desktop, ValueCheckMode mode = ValueCheckMode::Checked);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    EditorState& state() { return m_state; }
    ProgramStore& store() { return m_store; }
    GridCommands& gridCommands() { return m_gridCommands; }  // the main window's grid commands
    LimitsTable& limits() { return m_limits; }  // Table2, TALC.DB in the current directory
    ValueChecks& checks() { return m_checks; }
    Desktop& desktop() { return m_desktop; }
    Startup& startup() { return m_startup; }
    WorkingFiles& workingFiles() { return m_workingFiles; }
    SettingsWindow& settingsWindow() { return m_settingsWindow; }  // logic of Form8
    DeviceTransfer& deviceTransfer() { return m_deviceTransfer; }
    EditWindowCommands& editWindow() { return m_editWindow; }  // logic of Form2
    // Undo and redo; New, Open and Import start it afresh.
    History& history() { return m_history; }
    Recovery& recovery() { return m_recovery; }  // the copy of unsaved work

    // Opening Table0 and Table1 then checks their files in the current directory.
    void useTableFiles();

    // Opens the limits table if needed and refreshes the edit window's hints for the current
    // machine model; throws EngineError when TALC.DB cannot be read.
    void ApplyLimitHints() { m_limits.ApplyLimitHints(m_state, m_desktop); }
    // Once at start-up, after the hints: a model the limits table does not know is said.
    void warnUnknownModel() { WarnUnknownModel(m_state, m_limits, m_desktop); }

private:
    Desktop& m_desktop;
    EditorState m_state;
    ProgramStore m_store;
    GridCommands m_gridCommands;
    LimitsTable m_limits;
    ValueChecks m_checks;
    Startup m_startup;
    WorkingFiles m_workingFiles;
    SettingsWindow m_settingsWindow;
    DeviceTransfer m_deviceTransfer;
    EditWindowCommands m_editWindow;
    History m_history;
    Recovery m_recovery;
};

}  // namespace tal
