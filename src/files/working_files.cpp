#include "files/working_files.h"

#include <optional>
#include <string_view>
#include <vector>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/blank_image.h"
#include "files/save_dialog.h"
#include "files/settings_file.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/image_file.h"
#include "store/image_saving.h"
#include "store/program_store.h"
#include "store/remarks_file.h"

namespace tal {
namespace {

constexpr const char* kConfirmCaption = "Подтвердите сохранение";
constexpr const char* kLoadCaption = "Загрузка данных";
constexpr const char* kSaveCaption = "Сохранение данных";

// The program whose remark Windows-1251 cannot hold, if any.
std::optional<std::int64_t> programWithUnwritableRemark(Table& headers) {
    if (!headers.isOpen())
        return std::nullopt;
    std::vector<std::string> remarks;
    for (int row = 0; row < headers.recordCount(); ++row)
        remarks.push_back(headers.rowValue(row, hdr::Remark).asText());
    std::size_t bad = 0;
    if (encodeRemarks(remarks, &bad))
        return std::nullopt;
    return headers.rowValue(static_cast<int>(bad), hdr::ProgNum).asInteger();
}

}  // namespace

WorkingFiles::WorkingFiles(EditorState& state, ProgramStore& store, Desktop& desktop)
    : m_state(state), m_store(store), m_desktop(desktop) {}

void WorkingFiles::showError(const std::string& text, const char* caption) {
    m_desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

void WorkingFiles::askToSavePrevious(const char* question) {
    if (!m_state.modified)
        return;
    if (m_desktop.showMessage(question, kConfirmCaption, MessageIcon::None,
                              MessageButtons::YesNo) == MessageAnswer::Yes)
        SaveWorkingFileAs();  // whatever its outcome, the calling command goes on
}

void WorkingFiles::SpeedButton1Click() {
    m_desktop.closeMainWindow();
}

void WorkingFiles::SpeedButton2Click() {
    askToSavePrevious("Сохранить предыдущие данные? ");
    if (ReadBlankImage(m_state, m_desktop))
        m_store.ClearTables();
    m_state.workingFileName.clear();
    m_state.openDialogName.clear();
    m_state.saveDialogName.clear();
    m_desktop.setStatusFileName("");
    m_desktop.showEditWindow();
}

bool WorkingFiles::OpenWorkingFile() {
    askToSavePrevious("Сохранить предыдущие данные? ");
    const auto chosen =
        m_desktop.chooseOpenFile({"Двоичные файлы (*.bin)|*.bin;", "bin",
                                  folderOnDisk(m_state.dialogFolder), m_state.openDialogName});
    if (!chosen)
        return false;
    m_state.openDialogName = *chosen;

    // Read into a copy: the image and the tables change only after a complete read.
    Image image{};
    switch (readImageFile(*chosen, image)) {
        case ImageReadStatus::Ok:
            break;
        case ImageReadStatus::OpenFailed:
            showError("Ошибка открытия файла", kLoadCaption);
            return false;
        case ImageReadStatus::WrongSize:
            showError("Ошибочный размер файла", kLoadCaption);
            return false;
        case ImageReadStatus::ReadFailed:
            showError("Ошибка чтения файла", kLoadCaption);
            return false;
    }
    m_state.currentImage = image;
    m_store.LoadImage(*chosen, kLoadCaption);
    m_state.workingFileName = *chosen;
    m_desktop.setStatusFileName(*chosen);
    return true;
}

SaveResult WorkingFiles::SpeedButton4Click() {
    const std::string target = m_state.workingFileName;
    if (!canOpenForWriting(target)) {
        showError("Ошибка открытия файла", kSaveCaption);
        return SaveResult::NotStored;
    }
    const SaveResult result = storeAndWrite(target, false);
    if (result == SaveResult::Saved) {
        m_desktop.setStatusFileName(target);
        m_state.modified = false;
    }
    return result;
}

SaveResult WorkingFiles::SaveWorkingFileAs() {
    const auto target = chooseWorkingFileToWrite(m_state, m_desktop, kConfirmCaption);
    if (!target)
        return SaveResult::Cancelled;
    const std::string& chosen = *target;
    if (!canCreateFile(chosen)) {
        showError("Ошибка создания файла", kSaveCaption);
        return SaveResult::NotStored;
    }
    const SaveResult result = storeAndWrite(chosen, true);
    if (result == SaveResult::Saved) {
        m_state.workingFileName = chosen;
        m_state.openDialogName = chosen;
        m_desktop.setStatusFileName(chosen);
        m_state.modified = false;
        m_desktop.setEnabled(Control::SpeedButton4, true);
    }
    return result;
}

SaveResult WorkingFiles::storeAndWrite(const std::string& target, bool creating) {
    if (const auto program = programWithUnwritableRemark(m_store.headers())) {
        showError("Примечание программы " + std::to_string(*program) +
                      " содержит символы, которых нет в кодировке Windows-1251. "
                      "Данные не сохранены.",
                  kSaveCaption);
        return SaveResult::NotStored;
    }
    int error = 0;
    try {
        switch (saveWorkingFile(m_store, target, error)) {
            case SaveStatus::Saved:
                return SaveResult::Saved;
            case SaveStatus::BlankUnreadable:
                // Its messages were shown; nothing is written, as currentImage would not match
                // the tables.
                return SaveResult::NotStored;
            case SaveStatus::CreateFailed:
                showError(creating ? "Ошибка создания файла" : "Ошибка записи файла", kSaveCaption);
                return SaveResult::Failed;
            case SaveStatus::WriteFailed:
            case SaveStatus::RemarksWriteFailed:
                break;
        }
    } catch (const StoreError&) {  // a remark without Windows-1251 bytes: refused above
    }
    showError("Ошибка записи файла", kSaveCaption);
    return SaveResult::Failed;
}

void WorkingFiles::FormClose() {
    if (m_state.modified &&
        m_desktop.showMessage("Сохранить данные? ", kConfirmCaption, MessageIcon::None,
                              MessageButtons::YesNo) == MessageAnswer::Yes)
        SaveWorkingFileAs();
}

}  // namespace tal
