#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/clipboard.h"
#include "editor/image.h"

namespace tal {

// The state the main window holds and several commands share. One object per editor,
// passed to whoever needs it.
struct EditorState {
    Image currentImage{};

    bool modified = false;
    bool bookkeepingEnabled = true;
    bool appendFlag = false;
    bool lastValueAccepted = true;

    std::uint16_t programNumberEntry = 0;
    std::uint16_t lineNumberEntry = 0;
    std::uint16_t insertPosition = 0;
    std::uint16_t deletePosition = 0;

    std::string workingFileName;
    std::string openDialogName;  // the name the open dialog proposes next
    std::string saveDialogName;  // the name the save dialog proposes next
    std::string dialogFolder;    // initial folder of the open and save dialogs

    std::string machineModel;
    std::string programsFolder;
    std::string programmerFolder;
    std::string settingsFilePath;
    std::string blankImagePath;

    Clipboard clipboard;
    std::string clipboardIndicator;  // the text of Label2

    // Last enabling sent for DBEdit17/DBEdit18, so that walking the lines does not repeat it.
    std::optional<bool> repeatEditsEnabled;
};

}  // namespace tal
