#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tal {

enum class MessageIcon { None, Error, Information };
// YesNoDefaultNo: a question whose Yes cannot be taken back, so Enter answers No.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The two grids of the main window.
enum class Grid { None, Headers /* DBGrid0 */, Lines /* DBGrid1 */ };

// The controls the logic addresses, for enabling and hints. Each window registers the ones it
// holds, so a control can only ever reach its own window.
enum class Control {
    // main window
    DBGrid1,        // line grid
    SpeedButton4,   // Save
    SpeedButton9,   // Delete
    SpeedButton60,  // Copy
    // edit window
    EditAddLine,   // "Добавить строку" (its SpeedButton1)
    DBNavigator0,  // header navigator
    DBNavigator1,  // line navigator
    ScrollBox0,    // header panel
    ScrollBox1,    // line panel
    ProgDBText,
    StringDBText,
    DBRadioGroup01,
    DBRadioGroup03,
    DBEdit02,
    DBEdit04,
    DBEdit05,
    DBEdit06,  // remark
    DBEdit1,
    DBEdit2,
    DBRadioGroup3,
    DBEdit4,
    DBRadioGroup5,
    DBEdit8,
    DBEdit6,
    DBEdit7,
    DBRadioGroup9,
    DBEdit10,
    DBEdit11,
    DBRadioGroup12,
    DBRadioGroup13,
    DBEdit14,
    DBEdit15,
    DBEdit16,
    DBEdit17,  // number of lines repeated
    DBEdit18,  // offset
    DBRadioGroup19,
};

// The control's name in the forms ("DBEdit02"); the edit window's "Добавить строку" is
// "SpeedButton1" there.
const char* controlName(Control control);

enum class DialogAnswer { Create /* "Создать" */, Paste /* "Вставить" */, Cancel /* "Отменить" */ };

struct NewProgramResult {
    DialogAnswer answer = DialogAnswer::Cancel;
    long long number = 0;  // the entered number in full, of any size
};

struct FileDialogRequest {
    std::string filter;            // "Двоичные файлы (*.bin)|*.bin"
    std::string defaultExtension;  // "bin"
    std::string initialFolder;
    std::string proposedName;
};

struct ProgramLaunch {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
};

// How a started program ended.
struct ProgramExit {
    bool crashed = false;  // killed or ended by a signal: no exit code
    int exitCode = 0;
};
using ProgramFinished = std::function<void(const ProgramExit&)>;

// Everything the logic needs from the person and the screen. The Qt windows implement it;
// tests use a scripted fake.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Modal message box without an owner window.
    virtual MessageAnswer showMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;

    virtual Grid focusedGrid() = 0;
    virtual void focusGrid(Grid grid) = 0;

    virtual void setEnabled(Control control, bool enabled) = 0;
    // Tooltip of an input control.
    virtual void setHint(Control control, const std::string& hint) = 0;

    virtual void setClipboardIndicator(const std::string& text) = 0;  // Label2
    virtual void setStatusFileName(const std::string& name) = 0;      // status panel 1

    virtual NewProgramResult askNewProgram(unsigned proposedNumber, bool pasteEnabled) = 0;
    virtual DialogAnswer askNewLine(unsigned programNumber, bool pasteEnabled) = 0;
    // The find dialogs TForm3 (program) and TForm4 (line), modal, showing the entry: nothing when
    // cancelled, otherwise the entered number in full.
    virtual std::optional<long long> askFindProgram(unsigned programNumberEntry) = 0;
    virtual std::optional<long long> askFindLine(unsigned lineNumberEntry) = 0;

    virtual std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;

    virtual void beep() = 0;
    // Starts an external program without waiting, its output shown as it comes. False when it
    // could not be started; otherwise `onFinished` runs once when it has ended, which may be
    // before this returns.
    virtual bool runProgram(const ProgramLaunch& launch, ProgramFinished onFinished) = 0;
    // The logic's verdict on what the programs it ran did, shown under their output. A program
    // started from `onFinished` of the one before continues its output instead of replacing it.
    virtual void reportProgramOutcome(const std::string& text, bool success) = 0;

    virtual void showEditWindow() = 0;
    virtual void showSettingsWindow() = 0;
    // Closes the main window, which asks its closing question.
    virtual void closeMainWindow() = 0;
    // Ends the application as soon as its event loop runs.
    virtual void quitApplication() = 0;
};

// A desktop that does nothing and answers every question in the negative: Ok for a notice, No
// for a question, Cancel for a dialog. Fakes and headless tools override what they need.
class NullDesktop : public Desktop {
public:
    MessageAnswer showMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons buttons) override;
    Grid focusedGrid() override { return Grid::None; }
    void focusGrid(Grid) override {}
    void setEnabled(Control, bool) override {}
    void setHint(Control, const std::string&) override {}
    void setClipboardIndicator(const std::string&) override {}
    void setStatusFileName(const std::string&) override {}
    NewProgramResult askNewProgram(unsigned, bool) override { return {}; }
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Cancel; }
    std::optional<long long> askFindProgram(unsigned) override { return {}; }
    std::optional<long long> askFindLine(unsigned) override { return {}; }
    std::optional<std::string> chooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFolder(const std::string&) override { return {}; }
    void beep() override {}
    bool runProgram(const ProgramLaunch&, ProgramFinished) override { return false; }
    void reportProgramOutcome(const std::string&, bool) override {}
    void showEditWindow() override {}
    void showSettingsWindow() override {}
    void closeMainWindow() override {}
    void quitApplication() override {}
};

}  // namespace tal
