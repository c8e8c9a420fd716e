#include "files/recovery.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "files/recovery_copy.h"
#include "store/file_system.h"
#include "store/image_file.h"
#include "store/program_store.h"
#include "store/remarks_file.h"

namespace tal {
namespace {

constexpr const char* kCaption = "Восстановление данных";
constexpr const char* kFileName = "taleditor-recovery.bin";

// Local date and time as the operator reads them: "31.12.2024 23:59".
std::string localDateTime(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    const std::tm* local = std::localtime(&t);
    char text[32] = "";
    if (!local || std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", local) == 0)
        return "?";
    return text;
}

// The remarks file of the rows; a remark Windows-1251 cannot hold is left empty rather than
// losing the copy (the editor refuses such characters where they are typed).
std::string remarksFileOf(std::vector<std::string> remarks) {
    for (;;) {
        std::size_t bad = 0;
        if (auto bytes = encodeRemarks(remarks, &bad))
            return *bytes;
        remarks.at(bad).clear();
    }
}

}  // namespace

Recovery::Recovery(EditorState& state, ProgramStore& store, Desktop& desktop)
    : m_state(state), m_store(store), m_desktop(desktop), m_path(defaultPath()) {
    m_clock = [] {
        return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                             std::chrono::system_clock::now().time_since_epoch())
                                             .count());
    };
    auto listen = [this](const Table&, const TableChange& change) {
        // A posted edit is heard as the return to browse state.
        if (change.kind != ChangeKind::CursorMoved)
            m_changed = true;
    };
    m_headerChanges = store.headers().subscribe(listen);
    m_lineChanges = store.lines().subscribe(listen);
}

std::string Recovery::defaultPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::error_code ec;
    const std::filesystem::path folder =
        state && *state ? std::filesystem::path(state) : std::filesystem::current_path(ec);
    return (folder / kFileName).string();
}

void Recovery::FormShow() {
    offer();
    m_keeping = true;
}

void Recovery::offer() {
    if (!pathExists(m_path))
        return;
    const ReadResult file = readFile(m_path);
    const auto copy = file.status == ReadStatus::Ok ? decodeRecoveryCopy(file.bytes) : std::nullopt;
    if (!copy) {
        const std::string aside = m_path + ".damaged";
        std::error_code ec;
        std::filesystem::rename(m_path, aside, ec);
        m_desktop.showMessage(ec ? "Копия несохранённых данных повреждена и не загружена: " + m_path
                                 : "Копия несохранённых данных повреждена и не загружена. "
                                   "Она отложена в файл " +
                                       aside,
                              kCaption, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    const std::string question =
        "Восстановить несохранённые данные от " + localDateTime(copy->savedAt) + "?";
    if (m_desktop.showMessage(question, kCaption, MessageIcon::None, MessageButtons::YesNo) !=
        MessageAnswer::Yes) {
        removeFile(m_path);
        return;
    }
    m_state.currentImage = copy->image;
    m_store.loadImageWithRemarks(copy->remarksFile, kCaption);
    m_state.workingFileName = copy->workingFileName;
    m_desktop.setStatusFileName(copy->workingFileName);
    // Save needs a working file; unnamed work is saved with Save As, as after New.
    if (copy->workingFileName.empty())
        m_desktop.setEnabled(Control::SpeedButton4, false);
    m_state.modified = true;
    m_written = true;
    m_changed = false;
}

bool Recovery::refresh() {
    if (!m_keeping)
        return true;
    if (!m_state.modified) {
        remove();
        return true;
    }
    if (m_written && !m_changed)
        return true;
    return write();
}

bool Recovery::write() {
    RecoveryCopy copy;
    copy.savedAt = m_clock();
    copy.workingFileName = m_state.workingFileName;
    // What a save would write: the rows on a fresh blank image.
    Image base = m_state.currentImage;
    if (readBlankImageFile(m_state.blankImagePath, base) != ImageReadStatus::Ok)
        base = m_state.currentImage;
    copy.image = m_store.imageOfRows(base);
    copy.remarksFile = remarksFileOf(m_store.remarks());
    m_changed = false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ec);
    m_written = writeFileAtomically(m_path, encodeRecoveryCopy(copy)) == WriteStatus::Ok;
    if (!m_written)
        m_changed = true;  // try again next time
    return m_written;
}

void Recovery::remove() {
    if (!m_written)
        return;
    removeFile(m_path);
    m_written = false;
}

void Recovery::FormClose() {
    if (!m_keeping)
        return;
    m_keeping = false;
    m_written = true;  // whoever wrote it, the copy of this session goes
    remove();
}

}  // namespace tal
