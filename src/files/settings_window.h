#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tal {

class Desktop;
class LimitsTable;
struct EditorState;

// The logic of the settings window TForm8: the machine model and the two folders of the settings
// file. It shows the main window's settings and changes them directly; every change is written to
// the settings file at once. The window reads its controls' contents from here after each event.
class SettingsWindow {
public:
    SettingsWindow(EditorState& state, LimitsTable& limits, Desktop& desktop);

    // Fills the model list from the limits table and shows the folders. An error of the table
    // engine opening Table2 propagates; the window then keeps its design-time contents.
    void FormCreate();
    // The operator picked entry `index` of the model list.
    void ComboBox1Change(int index);
    void Button1Click();  // the programs folder's "Сменить"
    void Button2Click();  // the programmer folder's "Сменить"

    const std::vector<std::string>& models() const { return m_models; }  // ComboBox1
    int selectedModel() const { return m_selected; }                     // -1: none
    const std::string& staticText1() const { return m_staticText1; }
    const std::string& staticText2() const { return m_staticText2; }

private:
    // The chosen folder with one backslash appended; nothing when cancelled or refused.
    std::optional<std::string> chooseFolder();
    void refuse(const std::string& text);

    EditorState& m_state;
    LimitsTable& m_limits;
    Desktop& m_desktop;
    std::vector<std::string> m_models{"ТАЛ-1", "ТАЛ-2"};  // the design-time items
    int m_selected = -1;
    std::string m_staticText1;
    std::string m_staticText2;
};

}  // namespace tal
