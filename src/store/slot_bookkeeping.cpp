// Slot bookkeeping on every insert and delete of a header or a line: allocation marks in
// currentImage, line numbering and the chain links of the rows.

#include <string>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "store/program_store.h"

namespace tal {
namespace {

void showError(Desktop& desktop, const std::string& text, const char* caption) {
    desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

std::string programFullMessage() {
    return "В программе намотки не может быть больше " + std::to_string(kMaxProgramLines) +
           " строк";
}

bool validSlot(std::int64_t slot) {
    return slot >= 1 && slot <= kSlotCount;
}

// Clears a flag when the scope ends, also when an error passes through.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : m_flag(flag) { m_flag = value; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

bool ProgramStore::programNumberInUse(int number) const {
    if (headerSlotOf(m_state.currentImage, number) != 0)
        return true;
    for (int row = 0; row < m_headers->storedRowCount(); ++row)
        if (m_headers->storedValue(row, hdr::ProgNum).asInteger() == number)
            return true;
    return false;
}

std::uint16_t ProgramStore::FindFreeProgramNumber() const {
    const Image& image = m_state.currentImage;
    for (int p = 0; p < kProgramCount; ++p)
        if (image[directoryOffset(p) + 3] == p && !programNumberInUse(p))
            return static_cast<std::uint16_t>(p);
    return kProgramCount;
}

std::uint16_t ProgramStore::FindFreeSlot() const {
    const Image& image = m_state.currentImage;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (nextStrOf(image, slot) == 0 && carriesOwnNumber(image, slot))
            return static_cast<std::uint16_t>(slot);
    return kSlotCount;
}

// ---- inserting -----------------------------------------------------------------------------

void ProgramStore::Table0AfterInsert() {
    if (!m_state.bookkeepingEnabled)
        return;
    Table& headers = *m_headers;
    const std::uint16_t p = FindFreeProgramNumber();
    if (p >= kProgramCount) {
        headers.cancel();
        showError(m_desktop, "Исчерпана память программ", "Ошибка создания программы");
        return;
    }
    const std::uint16_t s = FindFreeSlot();
    if (s >= kSlotCount) {
        headers.cancel();
        showError(m_desktop, "Исчерпана память строк", "Ошибка создания строки");
        return;
    }
    NewProgramResult answer;
    for (;;) {
        m_state.programNumberEntry = p;
        answer = m_desktop.askNewProgram(p, m_state.clipboard.clipboardKind == Clipboard::Program);
        if (answer.answer == DialogAnswer::Cancel) {
            headers.cancel();
            return;
        }
        if (answer.number < 0 || answer.number >= kProgramCount) {
            showError(m_desktop, "Недопустимый номер программы", "Ошибка создания программы");
            continue;
        }
        if (programNumberInUse(static_cast<int>(answer.number))) {
            showError(m_desktop, "Такая программа уже есть", "Ошибка создания программы");
            continue;
        }
        break;
    }
    const int n = static_cast<int>(answer.number);
    m_state.programNumberEntry = static_cast<std::uint16_t>(n);

    setHeaderSlot(m_state.currentImage, n, s);
    setNextStr(m_state.currentImage, s, s);

    headers.setInteger(hdr::ProgNum, n);
    headers.setInteger(hdr::CurStr, s);
    headers.setInteger(hdr::NextStr, s);
    headers.setInteger(hdr::ProgSize, 1);
    const bool paste = answer.answer == DialogAnswer::Paste;
    if (paste) {
        for (int k = 1; k <= 7; ++k)
            headers.setValue(hdr::param(k), m_state.clipboard.header[k - 1]);
    }
    headers.post();
    updateEnabling();
    if (paste)
        pasteProgramLines();
}

void ProgramStore::pasteProgramLines() {
    FlagScope append(m_state.appendFlag, true);
    FlagScope pasting(m_pastingProgram, true);
    Clipboard& clipboard = m_state.clipboard;
    for (clipboard.clipboardCursor = 1; clipboard.clipboardCursor < clipboard.clipboardBound;
         ++clipboard.clipboardCursor) {
        m_desktop.focusGrid(Grid::Lines);
        m_lines->insert();
    }
}

void ProgramStore::Table1BeforeInsert() {
    if (!m_state.bookkeepingEnabled)
        return;
    const auto n = static_cast<std::uint16_t>(m_lines->recordCount());
    if (n == 0) {
        m_state.insertPosition = 1;
    } else if (m_state.appendFlag) {
        m_state.insertPosition = n + 1;
    } else {
        m_state.insertPosition = static_cast<std::uint16_t>(m_lines->asInteger(ln::StrNum));
    }
}

void ProgramStore::Table1AfterInsert() {
    if (!m_state.bookkeepingEnabled)
        return;
    Table& lines = *m_lines;
    Table& headers = *m_headers;
    if (lines.recordCount() >= kMaxProgramLines) {
        lines.cancel();
        showError(m_desktop, programFullMessage(), "Ошибка создания строки");
        return;
    }
    const std::uint16_t s = FindFreeSlot();
    if (s >= kSlotCount) {
        lines.cancel();
        showError(m_desktop, "Исчерпана память строк", "Ошибка создания строки");
        return;
    }
    Clipboard& clipboard = m_state.clipboard;
    bool pasteLine = false;
    if (clipboard.clipboardKind == Clipboard::Line) {
        const auto answer =
            m_desktop.askNewLine(static_cast<unsigned>(headers.asInteger(hdr::ProgNum)), true);
        if (answer == DialogAnswer::Cancel) {
            lines.cancel();
            return;
        }
        pasteLine = answer == DialogAnswer::Paste;
    }
    const int n = lines.recordCount();
    lines.setInteger(ln::ProgNum, headers.asInteger(hdr::ProgNum));
    lines.setInteger(ln::StrNum, n + 2);
    lines.setInteger(ln::CurStr, s);
    lines.setInteger(ln::NextStr, s);
    setNextStr(m_state.currentImage, s, s);
    if (m_pastingProgram || pasteLine) {
        const auto& record = clipboard.lines.at(clipboard.clipboardCursor);
        for (int k = 1; k <= 19; ++k)
            lines.setValue(ln::param(k), record[k - 1]);
    }
    lines.post();

    // Renumber: every line from the insert position on moves one up. The new line keeps its
    // provisional number above all of them, then takes its place.
    const int position = m_state.insertPosition;
    lines.updateVisibleRows([&](Table::RowAccess& row) {
        const auto number = row.integer(ln::StrNum);
        if (row.index() < n && number >= position)
            row.setInteger(ln::StrNum, number + 1);
    });
    lines.last();
    lines.setInteger(ln::StrNum, position);
    lines.post();

    const std::int64_t first = relinkLines(/*renumber=*/false);
    headers.setInteger(hdr::NextStr, first);
    headers.setInteger(hdr::ProgSize, n + 2);
    headers.post();

    lines.first();
    lines.moveBy(position - 1);
    updateEnabling();
}

// ---- deleting ------------------------------------------------------------------------------

void ProgramStore::Table0BeforeDelete() {
    if (!m_state.bookkeepingEnabled)
        return;
    Table& lines = *m_lines;
    lines.first();
    while (lines.recordCount() > 0) {
        lines.remove();
        lines.first();
    }
    const auto n = m_headers->asInteger(hdr::ProgNum);
    const auto h = m_headers->asInteger(hdr::CurStr);
    if (validSlot(h))
        setNextStr(m_state.currentImage, static_cast<int>(h), 0);
    if (n >= 0 && n < kProgramCount)
        setHeaderSlot(m_state.currentImage, static_cast<int>(n), 0);
}

void ProgramStore::Table0AfterDelete() {
    updateEnabling();
}

void ProgramStore::Table1BeforeDelete() {
    if (!m_state.bookkeepingEnabled)
        return;
    m_state.deletePosition = static_cast<std::uint16_t>(m_lines->asInteger(ln::StrNum));
    const auto slot = m_lines->asInteger(ln::CurStr);
    if (validSlot(slot))
        setNextStr(m_state.currentImage, static_cast<int>(slot), 0);
}

void ProgramStore::Table1AfterDelete() {
    if (!m_state.bookkeepingEnabled)
        return;
    Table& headers = *m_headers;
    const int n = m_lines->recordCount();
    const std::int64_t first = relinkLines(/*renumber=*/true);
    headers.setInteger(hdr::NextStr, first);
    headers.setInteger(hdr::ProgSize, n + 1);
    headers.post();
    m_lines->first();
    m_lines->moveBy(m_state.deletePosition - 1);
    updateEnabling();
}

std::int64_t ProgramStore::relinkLines(bool renumber) {
    // One pass over the current program's lines sets what walking them forwards (PredStr, and
    // the numbers 1..n) and backwards (NextStr) would set, without moving the cursor.
    Table& lines = *m_lines;
    const std::int64_t header = m_headers->asInteger(hdr::CurStr);
    const int n = lines.recordCount();
    m_slotBuffer.resize(n);
    lines.updateVisibleRows(
        [&](Table::RowAccess& row) { m_slotBuffer[row.index()] = row.integer(ln::CurStr); });
    lines.updateVisibleRows([&](Table::RowAccess& row) {
        const int i = row.index();
        if (renumber)
            row.setInteger(ln::StrNum, i + 1);
        row.setInteger(ln::PredStr, i == 0 ? header : m_slotBuffer[i - 1]);
        row.setInteger(ln::NextStr, m_slotBuffer[i + 1 < n ? i + 1 : i]);
    });
    return n == 0 ? header : m_slotBuffer.front();
}

void ProgramStore::Table1AfterScroll() {
    // No line, or no repeat count, counts as a count other than 0.
    const bool zero = m_lines->hasCurrentRow() && !m_lines->value(ln::param(16)).isNull() &&
                      m_lines->value(ln::param(16)).asInteger() == 0;
    SetRepeatEditsEnabled(m_state, m_desktop, !zero);
}

}  // namespace tal
