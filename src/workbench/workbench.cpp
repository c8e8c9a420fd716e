#include "workbench/workbench.h"

#include "files/blank_image.h"
#include "store/table_files.h"

namespace tal {

Workbench::Workbench(Desktop& desktop, ValueCheckMode mode)
    : m_desktop(desktop),
      m_store(m_state, desktop),
      m_gridCommands(m_store),
      m_checks(m_store, m_limits),
      m_startup(m_state, m_store, m_limits, desktop),
      m_workingFiles(m_state, m_store, desktop),
      m_settingsWindow(m_state, m_limits, desktop),
      m_deviceTransfer(m_state, m_store, m_limits, desktop, m_workingFiles),
      m_editWindow(m_store),
      m_history(m_store),
      m_recovery(m_state, m_store, desktop) {
    m_store.setBlankImageReader([this] { return ReadBlankImage(m_state, m_desktop); });
    m_store.setTablesReplaced([this] { m_history.reset(); });
    if (mode == ValueCheckMode::Checked)
        m_checks.install();
}

void Workbench::useTableFiles() {
    Table& headers = m_store.headers();
    Table& lines = m_store.lines();
    headers.setOpenCheck([&headers] { checkTableFile("talp.db", headers); });
    lines.setOpenCheck([&lines] { checkTableFile("tals.db", lines); });
}

}  // namespace tal
