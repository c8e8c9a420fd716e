#include "device/device_transfer.h"

#include <optional>
#include <string>
#include <string_view>

#include "device/export_limits_question.h"
#include "device/hex_file.h"
#include "device/image_difference.h"
#include "device/programmer.h"
#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "editor/system_error_text.h"
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

// Where the memory is read back to after a write: beside the HEX file ("coil.hex" gives
// "coil.verify.hex"), a folder the export has just written to.
std::string readBackFileName(const std::string& hexFile) {
    return hexFile.substr(0, hexFile.size() - 3) + "verify.hex";
}

std::string exitText(const ProgramExit& exit) {
    return exit.crashed ? "работа прервана" : "код " + std::to_string(exit.exitCode);
}

}  // namespace

DeviceTransfer::DeviceTransfer(EditorState& state, ProgramStore& store, LimitsTable& limits,
                               Desktop& desktop, WorkingFiles& files)
    : m_state(state), m_store(store), m_limits(limits), m_desktop(desktop), m_files(files) {}

void DeviceTransfer::showError(const char* text, const char* caption) {
    m_desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

bool DeviceTransfer::programmerIsFree(const char* caption) {
    if (m_programmerRunning)
        showError("Программатор ещё не завершил работу", caption);
    return !m_programmerRunning;
}

bool DeviceTransfer::runProgrammer(const ProgramLaunch& launch,
                                   std::function<void(const ProgramExit&)> then) {
    // Set first: the end may be reported before runProgram returns.
    m_programmerRunning = true;
    const bool started =
        m_desktop.runProgram(launch, [this, then = std::move(then)](const ProgramExit& exit) {
            m_programmerRunning = false;
            if (then)
                then(exit);
        });
    if (!started)
        m_programmerRunning = false;
    return started;
}

bool DeviceTransfer::valuesMayBeSent() {
    const auto question = exportLimitsQuestion(m_store, m_limits, m_state.machineModel);
    return !question || m_desktop.showMessage(*question, kExportCaption, MessageIcon::None,
                                              MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
}

void DeviceTransfer::SpeedButton12Click() {
    if (!programmerIsFree(kExportCaption))
        return;
    if (fileExists(m_state.workingFileName)) {
        // The export goes on whatever the save did (a read-only archive file cannot be saved),
        // but the image must show the tables: one the save did not rebuild is rebuilt here,
        // without writing anything.
        if (m_state.modified && m_files.SpeedButton4Click() == SaveResult::NotStored &&
            !m_store.rebuildImage())
            return;
    } else if (m_files.SaveWorkingFileAs() != SaveResult::Saved ||
               !fileExists(m_state.workingFileName)) {
        return;
    }

    if (!valuesMayBeSent())
        return;

    const std::string hexFile = ChangeExtension(m_state.workingFileName, "hex");
    const Image sent = m_state.currentImage;
    int error = 0;
    switch (WriteHexFile(sent, hexFile, error)) {
        case HexWriteStatus::Ok:
            break;
        case HexWriteStatus::CreateFailed:
            showError("Ошибка создания hex-файла", kExportCaption);
            return;
        case HexWriteStatus::WriteFailed:
            throw HexWriteError("Ошибка записи hex-файла " + hexFile + ": " +
                                systemErrorText(error));
    }

    const bool started = runProgrammer(
        programmerWriteLaunch(folderOnDisk(m_state.programmerFolder), hexFile),
        [this, sent, hexFile](const ProgramExit& exit) { writeFinished(exit, sent, hexFile); });
    if (!started)
        showError("Ошибка запуска программатора", kExportCaption);
}

void DeviceTransfer::writeFinished(const ProgramExit& exit, const Image& sent,
                                   const std::string& hexFile) {
    // A failed write is told by the tool itself, in its output.
    if (exit.crashed || exit.exitCode != 0)
        return;
    // A file left from an earlier run must not be taken for what the tool reads now.
    const std::string readBack = readBackFileName(hexFile);
    if (fileExists(readBack) && !removeFile(readBack))
        return verificationFailed("не удалён старый файл " + readBack);
    const bool started =
        runProgrammer(programmerReadLaunch(folderOnDisk(m_state.programmerFolder), readBack),
                      [this, sent, readBack](const ProgramExit& readExit) {
                          readBackFinished(readExit, sent, readBack);
                      });
    if (!started)
        verificationFailed("программатор не запустился для чтения");
}

void DeviceTransfer::readBackFinished(const ProgramExit& exit, const Image& sent,
                                      const std::string& readBack) {
    if (exit.crashed || exit.exitCode != 0) {
        removeFile(readBack);
        return verificationFailed("программатор не прочитал её (" + exitText(exit) + ")");
    }
    Image read{};
    const HexReadStatus status = ReadHexFile(readBack, read);
    removeFile(readBack);
    if (status == HexReadStatus::OpenFailed)
        return verificationFailed("нет файла " + readBack);
    if (status == HexReadStatus::ReadFailed)
        return verificationFailed("файл " + readBack + " неполон или испорчен");

    const ImageDifference difference = compareImages(sent, read);
    if (difference.equal()) {
        m_desktop.reportProgramOutcome("Память станка совпадает с записанными данными", true);
        return;
    }
    const std::string text =
        "Память станка не совпадает с записанными данными: " + describeDifference(difference);
    m_desktop.reportProgramOutcome(text, false);
    showError(text.c_str(), kExportCaption);
}

void DeviceTransfer::verificationFailed(const std::string& why) {
    const std::string text = "Память станка не проверена: " + why;
    m_desktop.reportProgramOutcome(text, false);
    showError(text.c_str(), kExportCaption);
}

void DeviceTransfer::SpeedButton11Click() {
    if (!programmerIsFree(kImportCaption))
        return;
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

    if (!runProgrammer(programmerReadLaunch(folderOnDisk(m_state.programmerFolder), hexFile), {}))
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
