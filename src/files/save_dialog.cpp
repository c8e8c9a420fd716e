#include "files/save_dialog.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/settings_file.h"
#include "store/file_system.h"

namespace tal {

std::optional<std::string> chooseWorkingFileToWrite(EditorState& state, Desktop& desktop,
                                                    const char* replaceCaption) {
    for (;;) {
        const auto chosen =
            desktop.chooseSaveFile({"Двоичные файлы (*.bin)|*.bin", "bin",
                                    folderOnDisk(state.dialogFolder), state.saveDialogName});
        if (!chosen)
            return std::nullopt;
        state.saveDialogName = *chosen;
        if (!pathExists(*chosen) ||
            desktop.showMessage("Файл уже существует. Заменить? ", replaceCaption,
                                MessageIcon::None, MessageButtons::YesNo) == MessageAnswer::Yes)
            return chosen;
    }
}

}  // namespace tal
