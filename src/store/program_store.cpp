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
    m_lines->replaceRows({});
    m_headers->open();
    m_headers->replaceRows({});
    m_state.bookkeepingEnabled = true;
    m_state.modified = false;
    m_desktop.setEnabled(Control::SpeedButton4, false);
    m_desktop.setEnabled(Control::SpeedButton60, false);
    if (m_tablesReplaced)
        m_tablesReplaced();
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

Image ProgramStore::imageOfRows(Image base) const {
    const Table& headers = *m_headers;
    for (int row = 0; row < headers.storedRowCount(); ++row) {
        const auto p = headers.storedValue(row, hdr::ProgNum).asInteger();
        const auto h =
            static_cast<std::uint16_t>(headers.storedValue(row, hdr::CurStr).asInteger());
        if (p >= 0 && p < kProgramCount) {
            base[directoryOffset(static_cast<int>(p)) + 3] = static_cast<std::uint8_t>(p);
            setHeaderSlot(base, static_cast<int>(p), h);
        }
        if (h >= 1 && h <= kSlotCount)
            writeStoredHeaderSlot(base, h, headers, row);
    }
    const Table& lines = *m_lines;
    for (int row = 0; row < lines.storedRowCount(); ++row) {
        const auto n = static_cast<std::uint16_t>(lines.storedValue(row, ln::CurStr).asInteger());
        if (n >= 1 && n <= kSlotCount)
            writeStoredLineSlot(base, n, lines, row);
    }
    return base;
}

std::vector<std::string> ProgramStore::remarks() const {
    std::vector<std::string> texts;
    for (int row = 0; row < m_headers->storedRowCount(); ++row)
        texts.push_back(m_headers->storedValue(row, hdr::Remark).asText());
    return texts;
}

std::string ProgramStore::remarksFileBytes() const {
    std::size_t bad = 0;
    auto bytes = encodeRemarks(remarks(), &bad);
    if (!bytes)
        throw StoreError(
            "Примечание программы " +
            std::to_string(
                m_headers->storedValue(static_cast<int>(bad), hdr::ProgNum).asInteger()) +
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
