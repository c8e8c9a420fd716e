#include "device/device_transfer.h"

#include <optional>
#include <string>
#include <string_view>

#include "device/hex_file.h"
#include "device/programmer.h"
#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/save_dialog.h"
#include "files/settings_file.h"
#include "files/working_files.h"
#include "store/change_extension.h"
#include "store/file_system.h"
#include "store/program_store.h"

namespace tal {
namespace {

constexpr const char* kExportCaption = "Экспорт данных";
constexpr const char* kImportCaption = "Импорт данных";

}  // namespace

DeviceTransfer::DeviceTransfer(EditorState& state, ProgramStore& store, Desktop& desktop,
                               WorkingFiles& files)
    : m_state(state), m_store(store), m_desktop(desktop), m_files(files) {}

void DeviceTransfer::showError(const char* text, const char* caption) {
    m_desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

void DeviceTransfer::SpeedButton12Click() {
    if (fileExists(m_state.workingFileName)) {
        // A save that could not rebuild the image leaves it older than the tables: sending it
        // would put something else into the machine than what the operator sees.
        if (m_state.modified && m_files.SpeedButton4Click() == SaveResult::NotStored)
            return;
    } else if (m_files.SaveWorkingFileAs() != SaveResult::Saved ||
               !fileExists(m_state.workingFileName)) {
        return;
    }

    const std::string hexFile = ChangeExtension(m_state.workingFileName, "hex");
    switch (WriteHexFile(m_state.currentImage, hexFile)) {
        case HexWriteStatus::Ok:
            break;
        case HexWriteStatus::CreateFailed:
            showError("Ошибка создания hex-файла", kExportCaption);
            return;
        case HexWriteStatus::WriteFailed:
            throw HexWriteError("Ошибка записи hex-файла " + hexFile);
    }

    if (!m_desktop.startProgram(
            programmerWriteLaunch(folderOnDisk(m_state.programmerFolder), hexFile)))
        showError("Ошибка запуска программатора", kExportCaption);
}

void DeviceTransfer::SpeedButton11Click() {
    const std::string previousName = m_state.workingFileName;
    const auto target = chooseWorkingFileToWrite(m_state, m_desktop, "Подтвердите замену");
    if (!target)
        return;
    const std::string& chosen = *target;
    // Every ending before the programs are replaced proposes the previous name again.
    const auto fail = [&](const char* text) {
        showError(text, kImportCaption);
        m_state.saveDialogName = previousName;
    };

    // A stale HEX file must not be read in place of what the tool is about to write.
    const std::string hexFile = ChangeExtension(chosen, "hex");
    if (fileExists(hexFile) && !removeFile(hexFile))
        return fail("Ошибка удаления hex-файла");

    if (!m_desktop.startProgram(
            programmerReadLaunch(folderOnDisk(m_state.programmerFolder), hexFile)))
        return fail("Ошибка запуска программатора");
    m_desktop.showMessage("После завершения процесса нажмите OK", kImportCaption,
                          MessageIcon::Information, MessageButtons::Ok);

    if (!fileExists(hexFile))
        return fail("Ошибка чтения внешней памяти");
    // Read into a copy: a short file must never leave a half-replaced image that a later export
    // would send to the machine.
    Image image = m_state.currentImage;
    switch (ReadHexFile(hexFile, image)) {
        case HexReadStatus::Ok:
            break;
        case HexReadStatus::OpenFailed:
            return fail("Ошибка открытия hex-файла");
        case HexReadStatus::ReadFailed:
            return fail("Ошибка чтения hex-файла");
    }

    m_state.currentImage = image;
    m_state.modified = false;
    m_state.workingFileName = chosen;
    m_state.openDialogName = chosen;
    m_state.saveDialogName = chosen;
    m_desktop.setStatusFileName(chosen);
    m_store.LoadImage(chosen, kImportCaption);

    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    switch (writeFileAtomically(chosen, bytes)) {
        case WriteStatus::Ok:
            break;
        case WriteStatus::CreateFailed:
            showError("Ошибка создания bin-файла", kImportCaption);
            break;
        case WriteStatus::WriteFailed:
            showError("Ошибка записи bin-файла", kImportCaption);
            break;
    }
}

}  // namespace tal
