// Slot bookkeeping on every insert and delete of a header or a line: allocation marks in
// currentImage, line numbering and the chain links of the rows.

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "store/editing_tables.h"
#include "store/memory_image.h"
#include "store/program_store.h"

namespace tal {
namespace {

void showError(Desktop& desktop, const char* text, const char* caption) {
    desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
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

std::uint16_t ProgramStore::FindFreeProgramNumber() const {
    const Image& image = m_state.currentImage;
    for (int p = 0; p < kProgramCount; ++p)
        if (headerSlotOf(image, p) == 0)
            return image[directoryOffset(p) + 3];
    return kProgramCount;
}

std::uint16_t ProgramStore::FindFreeSlot() const {
    const Image& image = m_state.currentImage;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (nextStrOf(image, slot) == 0)
            return ownNumberOf(image, slot);
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
        if (headerSlotOf(m_state.currentImage, static_cast<int>(answer.number)) != 0) {
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

    // Renumber from the line before the new one downwards, so numbers stay distinct.
    const int position = m_state.insertPosition;
    lines.last();
    if (n > 0) {
        lines.prior();
        for (;;) {
            const auto number = lines.asInteger(ln::StrNum);
            if (number < position)
                break;  // every earlier line is lower still
            lines.setInteger(ln::StrNum, number + 1);
            lines.post();
            if (lines.recNo() == 0)
                break;
            lines.prior();
        }
    }
    lines.last();
    lines.setInteger(ln::StrNum, position);
    lines.post();

    // Relink forwards, then backwards.
    std::int64_t c = headers.asInteger(hdr::CurStr);
    lines.first();
    for (int i = 0; i <= n; ++i) {
        if (i > 0)
            lines.next();
        lines.setInteger(ln::PredStr, c);
        c = lines.asInteger(ln::CurStr);
    }
    for (int i = 0; i <= n; ++i) {
        if (i > 0)
            lines.prior();
        lines.setInteger(ln::NextStr, c);
        c = lines.asInteger(ln::CurStr);
    }
    lines.post();
    headers.setInteger(hdr::NextStr, c);
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
    Table& lines = *m_lines;
    Table& headers = *m_headers;
    lines.first();
    const int n = lines.recordCount();
    std::int64_t c = headers.asInteger(hdr::CurStr);
    for (int k = 1; k <= n; ++k) {
        if (k > 1)
            lines.next();
        lines.setInteger(ln::StrNum, k);
        lines.setInteger(ln::PredStr, c);
        c = lines.asInteger(ln::CurStr);
    }
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            lines.prior();
        lines.setInteger(ln::NextStr, c);
        c = lines.asInteger(ln::CurStr);
    }
    lines.post();
    headers.setInteger(hdr::NextStr, c);
    headers.setInteger(hdr::ProgSize, n + 1);
    headers.post();
    lines.first();
    lines.moveBy(m_state.deletePosition - 1);
    updateEnabling();
}

void ProgramStore::Table1AfterScroll() {
    const Value& repeats = m_lines->value(ln::param(16));
    SetRepeatEditsEnabled(m_state, m_desktop, repeats.isNull() || repeats.asInteger() != 0);
}

// ---- toolbar -------------------------------------------------------------------------------

void ProgramStore::insertRowIntoFocusedGrid() {
    switch (m_desktop.focusedGrid()) {
        case Grid::Headers:
            m_headers->insert();
            break;
        case Grid::Lines:
            if (m_headers->recordCount() > 0)
                m_lines->insert();
            break;
        case Grid::None:
            break;
    }
}

void ProgramStore::SpeedButton7Click() {
    FlagScope append(m_state.appendFlag, true);
    insertRowIntoFocusedGrid();
}

void ProgramStore::SpeedButton8Click() {
    insertRowIntoFocusedGrid();
}

void ProgramStore::SpeedButton9Click() {
    const Grid focus = m_desktop.focusedGrid();
    Table* table = focus == Grid::Headers ? m_headers.get()
                   : focus == Grid::Lines ? m_lines.get()
                                          : nullptr;
    if (!table || table->recordCount() == 0)
        return;
    const char* question =
        focus == Grid::Headers ? "Удалить программу намотки? " : "Удалить строку программы? ";
    if (m_desktop.showMessage(question, "Подтвердите удааление", MessageIcon::None,
                              MessageButtons::YesNo) == MessageAnswer::Yes)
        table->remove();
}

void ProgramStore::DBGrid0Exit() {
    updateEnabling();
}
void ProgramStore::DBGrid1Exit() {
    updateEnabling();
}

}  // namespace tal
