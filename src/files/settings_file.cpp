#include "files/settings_file.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/file_system.h"
#include "store/text.h"

namespace tal {

SettingsStrings parseSettingsFile(std::string_view bytes) {
    std::string lines[3];
    int line = 0;
    for (const char byte : bytes) {
        if (byte == '\n') {
            if (++line == 3)
                break;
            continue;
        }
        lines[line] += byte;
    }
    return {decodeCp1251(lines[0]), decodeCp1251(lines[1]), decodeCp1251(lines[2])};
}

bool ReadSettingsFile(EditorState& state) {
    const ReadResult read = readFile(state.settingsFilePath);
    if (read.status == ReadStatus::OpenFailed)
        return false;
    SettingsStrings settings = parseSettingsFile(read.bytes);
    state.machineModel = std::move(settings.machineModel);
    state.programsFolder = std::move(settings.programsFolder);
    state.programmerFolder = std::move(settings.programmerFolder);
    if (read.status == ReadStatus::ReadFailed)
        return false;
    state.dialogFolder = state.programsFolder;
    return true;
}

void WriteSettingsFile(EditorState& state, Desktop& desktop) {
    auto fail = [&desktop](const std::string& text) {
        desktop.showMessage(text, "Сохранить", MessageIcon::Error, MessageButtons::Ok);
    };
    std::string bytes;
    for (const std::string* setting :
         {&state.machineModel, &state.programsFolder, &state.programmerFolder}) {
        const auto encoded = encodeCp1251(*setting);
        if (!encoded) {
            // Never written as something else: the file keeps its previous settings.
            fail("Ошибка записи файла TAL.cfg: настройка «" + *setting +
                 "» содержит символы, которых нет в кодировке Windows-1251");
            return;
        }
        bytes += *encoded;
        bytes += '\n';
    }
    switch (writeFileAtomically(state.settingsFilePath, bytes)) {
        case WriteStatus::Ok:
            break;
        case WriteStatus::CreateFailed:
            fail("Ошибка создания файла TAL.cfg");
            break;
        case WriteStatus::WriteFailed:
            fail("Ошибка записи файла TAL.cfg");
            break;
    }
}

std::string folderOnDisk(const std::string& folderSetting) {
#ifdef _WIN32
    return folderSetting;
#else
    if (!folderSetting.empty() && folderSetting.back() == '\\')
        return folderSetting.substr(0, folderSetting.size() - 1) + "/";
    return folderSetting;
#endif
}

std::string joinFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    const bool separated = folder.empty() || folder.back() == '/' || folder.back() == '\\';
#else
    const bool separated = folder.empty() || folder.back() == '/';
#endif
    return separated ? folder + name : folder + "/" + name;
}

}  // namespace tal
