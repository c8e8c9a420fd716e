#include "files/blank_image.h"

#include <string>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/image_file.h"
#include "store/memory_image.h"

namespace tal {

bool ReadBlankImage(EditorState& state, Desktop& desktop) {
    std::string problem;
    Image blank{};
    switch (readBlankImageFile(state.blankImagePath, blank)) {
        case ImageReadStatus::Ok:
            break;
        case ImageReadStatus::OpenFailed:
            problem = "Ошибка открытия файла TAL.ini";
            break;
        case ImageReadStatus::WrongSize:
        case ImageReadStatus::ReadFailed:
            problem = "Ошибка чтения файла TAL.ini";
            break;
    }
    if (problem.empty()) {
        // Storing keeps the blank's own slot numbers in header slots and takes its free entries
        // and slots: onto anything else a save would write programs that cannot be read back.
        const auto findings = blankImageFindings(blank);
        if (findings.empty()) {
            state.currentImage = blank;
            return true;
        }
        problem = "Файл TAL.ini не чистый образ памяти: " + findings.front();
        if (findings.size() > 1)
            problem += " и ещё " + std::to_string(findings.size() - 1) + " нарушений";
    }
    desktop.showMessage(problem, "Инициализация", MessageIcon::Error, MessageButtons::Ok);
    return false;
}

}  // namespace tal
