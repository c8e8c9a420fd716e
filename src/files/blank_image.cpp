#include "files/blank_image.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/image_file.h"

namespace tal {

bool ReadBlankImage(EditorState& state, Desktop& desktop) {
    const char* problem = nullptr;
    switch (readBlankImageFile(state.blankImagePath, state.currentImage)) {
        case ImageReadStatus::Ok:
            return true;
        case ImageReadStatus::OpenFailed:
            problem = "Ошибка открытия файла TAL.ini";
            break;
        case ImageReadStatus::WrongSize:
        case ImageReadStatus::ReadFailed:
            problem = "Ошибка чтения файла TAL.ini";
            break;
    }
    desktop.showMessage(problem, "Инициализация", MessageIcon::Error, MessageButtons::Ok);
    return false;
}

}  // namespace tal
