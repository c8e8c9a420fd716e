#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tal {

enum class MessageIcon { None, Error, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The two grids of the main window.
enum class Grid { None, Headers /* DBGrid0 */, Lines /* DBGrid1 */ };

// Controls whose enabling the logic switches.
enum class Control {
    DBGrid1,        // line grid of the main window
    SpeedButton4,   // Save
    SpeedButton9,   // Delete
    SpeedButton60,  // Copy
    EditAddLine,    // edit window: "Добавить строку" (its SpeedButton1)
    DBNavigator1,   // edit window: line navigator
    ScrollBox0,     // edit window: header panel
    ScrollBox1,     // edit window: line panel
    DBEdit17,       // edit window: number of lines repeated
    DBEdit18,       // edit window: offset
};

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
    // Tooltip of an edit-window input control, named as in the form ("DBEdit02").
    virtual void setHint(const std::string& control, const std::string& hint) = 0;

    virtual void setClipboardIndicator(const std::string& text) = 0;  // Label2
    virtual void setStatusFileName(const std::string& name) = 0;      // status panel 1

    virtual NewProgramResult askNewProgram(unsigned proposedNumber, bool pasteEnabled) = 0;
    virtual DialogAnswer askNewLine(unsigned programNumber, bool pasteEnabled) = 0;

    virtual std::optional<std::string> chooseOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;

    virtual void beep() = 0;
    // Starts an external program without waiting; false when it could not be started.
    virtual bool startProgram(const ProgramLaunch& launch) = 0;

    virtual void showEditWindow() = 0;
    virtual void showSettingsWindow() = 0;
    // Closes the main window, which asks its closing question.
    virtual void closeMainWindow() = 0;
    // Ends the application as soon as its event loop runs.
    virtual void quitApplication() = 0;
};

}  // namespace tal
