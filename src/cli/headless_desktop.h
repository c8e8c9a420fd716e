#pragma once

#include <deque>
#include <iosfwd>

#include "editor/desktop.h"

namespace tal {

// The desktop of the command-line tool: messages go to stderr, the new-program dialog answers
// from a queue, every other dialog is cancelled.
class HeadlessDesktop : public Desktop {
public:
    explicit HeadlessDesktop(std::ostream& errors) : m_errors(errors) {}

    void queueNewProgram(NewProgramResult result) { m_newPrograms.push_back(result); }
    int errorCount() const { return m_errorCount; }

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    Grid focusedGrid() override { return m_focus; }
    void focusGrid(Grid grid) override { m_focus = grid; }
    void setEnabled(Control, bool) override {}
    void setHint(const std::string&, const std::string&) override {}
    void setClipboardIndicator(const std::string&) override {}
    void setStatusFileName(const std::string&) override {}
    NewProgramResult askNewProgram(unsigned, bool) override;
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Create; }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&) override { return {}; }
    void beep() override {}
    bool startProgram(const ProgramLaunch&) override { return false; }
    void showEditWindow() override {}
    void showSettingsWindow() override {}
    void closeMainWindow() override {}
    void quitApplication() override {}

private:
    std::ostream& m_errors;
    Grid m_focus = Grid::None;
    std::deque<NewProgramResult> m_newPrograms;
    int m_errorCount = 0;
};

}  // namespace tal
