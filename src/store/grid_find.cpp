// "Найти": makes a program header, or a line of the current program, current by its number.

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/editing_tables.h"
#include "store/grid_commands.h"
#include "store/memory_image.h"
#include "store/program_store.h"

namespace tal {
namespace {

void showError(Desktop& desktop, const char* text, const char* caption) {
    desktop.showMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

// A program's lines are numbered below the number of slots: its header takes one.
constexpr long long kLineNumberBound = kSlotCount;

}  // namespace

void GridCommands::SpeedButton6Click() {
    switch (m_desktop.focusedGrid()) {
        case Grid::Headers:
            findProgram();
            break;
        case Grid::Lines:
            findLine();
            break;
        case Grid::None:
            break;
    }
}

// The range is tested on the number in full, so that no number beyond it reaches a lookup through
// its low 16 bits kept in the entry. A lookup saves a pending change of its table first.
void GridCommands::findProgram() {
    for (;;) {
        const auto number = m_desktop.askFindProgram(m_state.programNumberEntry);
        if (!number)
            return;
        m_state.programNumberEntry = static_cast<std::uint16_t>(*number);
        if (*number < 0 || *number >= kProgramCount) {
            showError(m_desktop, "Недопустимый номер программы", "Ошибка поиска программы");
            continue;
        }
        if (m_store.headers().findKey({Value::integer(*number)}))
            return;
        showError(m_desktop, "Программа не найдена", "Ошибка поиска программы");
    }
}

// The line table shows the current program's lines only, so the lookup never leaves it.
void GridCommands::findLine() {
    for (;;) {
        const auto number = m_desktop.askFindLine(m_state.lineNumberEntry);
        if (!number)
            return;
        m_state.lineNumberEntry = static_cast<std::uint16_t>(*number);
        if (*number < 0 || *number >= kLineNumberBound) {
            showError(m_desktop, "Недопустимый номер строки", "Ошибка поиска строки");
            continue;
        }
        m_state.programNumberEntry =
            static_cast<std::uint16_t>(m_store.headers().asInteger(hdr::ProgNum));
        if (m_store.lines().findKey({Value::integer(m_state.programNumberEntry),
                                     Value::integer(m_state.lineNumberEntry)}))
            return;
        showError(m_desktop, "Строка не найдена", "Ошибка поиска строки");
    }
}

}  // namespace tal
