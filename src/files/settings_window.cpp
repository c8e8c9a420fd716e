#include "files/settings_window.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/settings_file.h"
#include "limits/limits_table.h"
#include "store/text.h"

namespace tal {

SettingsWindow::SettingsWindow(EditorState& state, LimitsTable& limits, Desktop& desktop)
    : m_state(state), m_limits(limits), m_desktop(desktop) {}

void SettingsWindow::FormCreate() {
    m_limits.Open();
    Table& table = m_limits.table();
    table.first();
    m_models.clear();
    m_selected = -1;
    for (; !table.eof() && table.recordCount() > 0; table.next()) {
        const std::string config = table.asText(lim::Config);
        bool listed = false;
        for (int i = m_selected; i >= 0 && !listed; --i)
            listed = m_models[i] == config;
        if (!listed) {
            m_models.push_back(config);
            m_selected = static_cast<int>(m_models.size()) - 1;
        }
    }
    for (std::size_t i = 0; i < m_models.size(); ++i) {
        if (m_models[i] == m_state.machineModel) {
            m_selected = static_cast<int>(i);
            break;
        }
    }
    m_staticText1 = m_state.programsFolder;
    m_staticText2 = m_state.programmerFolder;
}

void SettingsWindow::refuse(const std::string& text) {
    m_desktop.showMessage(text, "Сохранить", MessageIcon::Error, MessageButtons::Ok);
}

void SettingsWindow::ComboBox1Change(int index) {
    if (index < 0 || index >= static_cast<int>(m_models.size()))
        return;
    const int previous = m_selected;
    m_selected = index;
    const std::string& model = m_models[index];
    if (model == m_state.machineModel)
        return;
    if (!fitsCp1251(model)) {
        // The settings file could not hold the name: the model stays as it was.
        m_selected = previous;
        refuse("Название модели «" + model +
               "» содержит символы, которых нет в кодировке Windows-1251. Модель не изменена.");
        return;
    }
    m_state.machineModel = model;
    WriteSettingsFile(m_state, m_desktop);
    m_limits.ApplyLimitHints(m_state, m_desktop);
}

std::optional<std::string> SettingsWindow::chooseFolder() {
    const auto chosen = m_desktop.chooseFolder("Выберите папку");
    if (!chosen)
        return std::nullopt;
    std::string folder = *chosen + "\\";
    if (!fitsCp1251(folder)) {
        refuse("Путь «" + *chosen +
               "» содержит символы, которых нет в кодировке Windows-1251. Папка не изменена.");
        return std::nullopt;
    }
    return folder;
}

void SettingsWindow::Button1Click() {
    if (const auto folder = chooseFolder()) {
        m_state.programsFolder = *folder;
        m_staticText1 = *folder;
        m_state.dialogFolder = *folder;
        WriteSettingsFile(m_state, m_desktop);
    }
}

void SettingsWindow::Button2Click() {
    if (const auto folder = chooseFolder()) {
        m_state.programmerFolder = *folder;
        m_staticText2 = *folder;
        WriteSettingsFile(m_state, m_desktop);
    }
}

}  // namespace tal
