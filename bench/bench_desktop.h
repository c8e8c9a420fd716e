#pragma once

#include "editor/desktop.h"

namespace tal::bench {

// A desktop that answers every question at once: the new-program dialog with `answer`,
// every question with Yes.
class BenchDesktop : public Desktop {
public:
    NewProgramResult answer{DialogAnswer::Create, 0};
    Grid focus = Grid::Headers;

    MessageAnswer showMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons buttons) override {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    Grid focusedGrid() override { return focus; }
    void focusGrid(Grid grid) override { focus = grid; }
    void setEnabled(Control, bool) override {}
    void setHint(const std::string&, const std::string&) override {}
    void setClipboardIndicator(const std::string&) override {}
    void setStatusFileName(const std::string&) override {}
    NewProgramResult askNewProgram(unsigned, bool) override { return answer; }
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Create; }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&) override { return {}; }
    void beep() override {}
    bool startProgram(const ProgramLaunch&) override { return true; }
    void showEditWindow() override {}
    void showSettingsWindow() override {}
    void closeMainWindow() override {}
    void quitApplication() override {}
};

}  // namespace tal::bench
