#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "editor/desktop.h"

class QWidget;

namespace tal {

class ProgrammerWindow;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm8;

// The desktop of the editor: Qt message boxes and file dialogs, the main window's grids,
// toolbar and status bar, the edit window, the settings window, the small dialogs and the
// programmer window.
class QtDesktop : public Desktop {
public:
    QtDesktop() = default;

    // The windows, once they exist; calls before that reach nothing.
    void attach(TForm1* mainWindow, TForm2* editWindow, TForm5* newProgram, TForm6* newLine);
    // Where the programmer tool runs; without it no program can be started.
    void attachProgrammerWindow(ProgrammerWindow* window) { m_programmer = window; }

    void attachFindDialogs(TForm3* findProgram, TForm4* findLine);
    void attachSettingsWindow(TForm8* settings);

    // Answers the next open dialog with this file instead of showing it (`taleditor --open`).
    void answerNextOpenDialog(std::string path) { m_openAnswers.push_back(std::move(path)); }

    // Tests put a hand on the message boxes: when set, it answers instead of the box.
    using MessageHook = std::function<MessageAnswer(
        const std::string& text, const std::string& caption, MessageIcon, MessageButtons)>;
    void setMessageHook(MessageHook hook) { m_messageHook = std::move(hook); }

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    Grid focusedGrid() override;
    void focusGrid(Grid grid) override;
    void setEnabled(Control control, bool enabled) override;
    void setHint(Control control, const std::string& hint) override;
    void setClipboardIndicator(const std::string& text) override;
    void setStatusFileName(const std::string& name) override;
    NewProgramResult askNewProgram(unsigned proposedNumber, bool pasteEnabled) override;
    DialogAnswer askNewLine(unsigned programNumber, bool pasteEnabled) override;
    std::optional<long long> askFindProgram(unsigned programNumberEntry) override;
    std::optional<long long> askFindLine(unsigned lineNumberEntry) override;
    std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title) override;
    void beep() override;
    bool runProgram(const ProgramLaunch& launch, ProgramFinished onFinished) override;
    void reportProgramOutcome(const std::string& text, bool success) override;
    void showEditWindow() override;
    void showSettingsWindow() override;
    void closeMainWindow() override;
    void quitApplication() override;

private:
    // The control in whichever window registered it; nothing before the windows exist.
    QWidget* findControl(Control control) const;

    TForm1* m_main = nullptr;
    TForm2* m_edit = nullptr;
    TForm5* m_newProgram = nullptr;
    TForm6* m_newLine = nullptr;
    ProgrammerWindow* m_programmer = nullptr;
    std::deque<std::string> m_openAnswers;
    MessageHook m_messageHook;
    TForm3* m_findProgram = nullptr;
    TForm4* m_findLine = nullptr;
    TForm8* m_settings = nullptr;
};

}  // namespace tal
