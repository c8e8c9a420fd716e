#include "files/startup.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/blank_image.h"
#include "files/settings_file.h"
#include "limits/limits_table.h"
#include "store/file_system.h"
#include "store/program_store.h"
#include "store/table_files.h"

namespace tal {

Startup::Startup(EditorState& state, ProgramStore& store, LimitsTable& limits, Desktop& desktop)
    : m_state(state), m_store(store), m_limits(limits), m_desktop(desktop) {}

bool Startup::FormCreate(const std::string& executableFolder) {
    m_state.settingsFilePath = joinFolder(executableFolder, "TAL.cfg");
    m_state.blankImagePath = joinFolder(executableFolder, "TAL.ini");

    bool tablesPresent = true;
    for (const char* name : kTableFileNames) {
        if (!fileExists(name)) {
            tablesPresent = false;
            break;
        }
    }
    if (tablesPresent && ReadBlankImage(m_state, m_desktop)) {
        ReadSettingsFile(m_state);
        return true;
    }
    m_desktop.showMessage("Ошибка загрузки приложения", "Загрузка приложения", MessageIcon::Error,
                          MessageButtons::Ok);
    m_desktop.quitApplication();
    return false;
}

void Startup::FormShow() {
    m_store.ClearTables();
    m_state.clipboard.clipboardKind = Clipboard::Empty;
}

void Startup::FormDestroy() {
    m_store.headers().close();
    m_store.lines().close();
    m_limits.Close();
}

}  // namespace tal
