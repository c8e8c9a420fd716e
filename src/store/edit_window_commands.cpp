#include "store/edit_window_commands.h"

#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "store/editing_tables.h"
#include "store/program_store.h"

namespace tal {
namespace {

void postIfEditing(Table& table) {
    if (table.state() == TableState::Edit)
        table.post();
}

}  // namespace

EditWindowCommands::EditWindowCommands(ProgramStore& store)
    : m_store(store), m_state(store.state()), m_desktop(store.desktop()) {}

void EditWindowCommands::FormCreate() {
    // What was last sent reached no window yet.
    m_state.repeatEditsEnabled.reset();
    m_store.Table1AfterScroll();
}

void EditWindowCommands::SpeedButton1Click() {
    Table& lines = m_store.lines();
    const int before = lines.recordCount();
    m_state.appendFlag = true;
    try {
        lines.insert();
    } catch (...) {
        m_state.appendFlag = false;
        throw;
    }
    // A refused line (no slot, the program full, the dialog cancelled) leaves the edits as the
    // current line has them.
    if (lines.recordCount() > before || lines.state() == TableState::Insert)
        SetRepeatEditsEnabled(m_state, m_desktop, false);
    m_state.appendFlag = false;
}

void EditWindowCommands::ScrollBox0Exit() {
    postIfEditing(m_store.headers());
}

void EditWindowCommands::ScrollBox1Exit() {
    postIfEditing(m_store.lines());
}

bool EditWindowCommands::FormClose() {
    const bool mayClose = m_state.lastValueAccepted;
    postIfEditing(m_store.headers());
    postIfEditing(m_store.lines());
    return mayClose;
}

}  // namespace tal
