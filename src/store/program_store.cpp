#include "store/program_store.h"

#include <utility>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/memory_image.h"
#include "store/remarks_file.h"
#include "store/slot_codec.h"

namespace tal {

ProgramStore::ProgramStore(EditorState& state, Desktop& desktop)
    : m_state(state), m_desktop(desktop), m_headers(makeHeaderTable()), m_lines(makeLineTable()) {
    m_lines->setMaster(m_headers.get(), "ProgNum");
    m_headers->afterInsert = [this](Table&) { Table0AfterInsert(); };
    m_headers->beforeDelete = [this](Table&) { Table0BeforeDelete(); };
    m_headers->afterDelete = [this](Table&) { Table0AfterDelete(); };
    m_lines->beforeInsert = [this](Table&) { Table1BeforeInsert(); };
    m_lines->afterInsert = [this](Table&) { Table1AfterInsert(); };
    m_lines->beforeDelete = [this](Table&) { Table1BeforeDelete(); };
    m_lines->afterDelete = [this](Table&) { Table1AfterDelete(); };
    m_lines->afterScroll = [this](Table&) { Table1AfterScroll(); };
    auto onChange = [this](const Table&, const TableChange& change) { dataChanged(change); };
    m_headerChanges = m_headers->subscribe(onChange);
    m_lineChanges = m_lines->subscribe(onChange);
}

void ProgramStore::dataChanged(const TableChange& change) {
    // A value, the current row or the rows changed; entering or leaving edit state is no change.
    if (change.kind != ChangeKind::StateChanged)
        m_state.modified = true;
}

void ProgramStore::updateEnabling() {
    UpdateEnabling(m_desktop, m_headers->recordCount(), m_lines->recordCount());
}

// ---- clearing ------------------------------------------------------------------------------

void ProgramStore::ClearTables() {
    UpdateEnabling(m_desktop, 0, 0);
    m_state.bookkeepingEnabled = false;
    m_headers->close();
    m_lines->open();
    m_lines->first();
    while (m_lines->recordCount() > 0)
        m_lines->remove();
    m_headers->open();
    m_headers->first();
    while (m_headers->recordCount() > 0)
        m_headers->remove();
    m_state.bookkeepingEnabled = true;
    m_state.modified = false;
    m_desktop.setEnabled(Control::SpeedButton4, false);
    m_desktop.setEnabled(Control::SpeedButton60, false);
}

// ---- storing -------------------------------------------------------------------------------

bool ProgramStore::rebuildImage() {
    if (!m_readBlankImage || !m_readBlankImage())
        return false;
    Image& image = m_state.currentImage;
    Table& headers = *m_headers;
    Table& lines = *m_lines;
    headers.first();
    while (!headers.eof() && headers.recordCount() > 0) {
        const auto p = headers.asInteger(hdr::ProgNum);
        const auto h = static_cast<std::uint16_t>(headers.asInteger(hdr::CurStr));
        if (p >= 0 && p < kProgramCount) {
            image[directoryOffset(static_cast<int>(p)) + 3] = static_cast<std::uint8_t>(p);
            setHeaderSlot(image, static_cast<int>(p), h);
        }
        if (h >= 1 && h <= kSlotCount)
            writeHeaderSlot(image, h, headers);
        lines.first();
        while (!lines.eof() && lines.recordCount() > 0) {
            const auto n = static_cast<std::uint16_t>(lines.asInteger(ln::CurStr));
            if (n >= 1 && n <= kSlotCount)
                writeLineSlot(image, n, lines);
            lines.next();
        }
        headers.next();
    }
    headers.first();
    lines.first();
    return true;
}

std::string ProgramStore::remarksFileBytes() const {
    std::vector<std::string> remarks;
    for (int row = 0; row < m_headers->recordCount(); ++row)
        remarks.push_back(m_headers->rowValue(row, hdr::Remark).asText());
    std::size_t bad = 0;
    auto bytes = encodeRemarks(remarks, &bad);
    if (!bytes)
        throw StoreError(
            "Примечание программы " +
            std::to_string(m_headers->rowValue(static_cast<int>(bad), hdr::ProgNum).asInteger()) +
            " содержит символы, которых нет в кодировке Windows-1251");
    return std::move(*bytes);
}

bool ProgramStore::StoreImage(const std::string& targetFileName) {
    if (!rebuildImage())
        return false;
    const std::string bytes = remarksFileBytes();
    // A remarks file that cannot be created is passed over; the image is rebuilt all the same.
    if (writeFileAtomically(ChangeExtension(targetFileName, "txt"), bytes) ==
        WriteStatus::WriteFailed)
        throw StoreError("Ошибка записи файла примечаний");
    return true;
}

}  // namespace tal
