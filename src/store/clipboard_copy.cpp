// "Копировать": fills the internal clipboard from the focused grid.

#include <string>

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/editing_tables.h"
#include "store/grid_commands.h"
#include "store/memory_image.h"
#include "store/program_store.h"

namespace tal {
namespace {

// Empty parameters travel as empty values, so a paste gives empty fields back.
Clipboard::LineRecord copyLine(const Table& lines) {
    Clipboard::LineRecord record;
    for (int k = 1; k <= 19; ++k)
        record[k - 1] = lines.value(ln::param(k));
    return record;
}

}  // namespace

void GridCommands::SpeedButton60Click() {
    Clipboard& clipboard = m_state.clipboard;
    Table& headers = m_store.headers();
    Table& lines = m_store.lines();
    switch (m_desktop.focusedGrid()) {
        case Grid::Headers: {
            if (headers.recordCount() == 0)
                return;
            // Only a program read from a damaged image can be longer; a paste of it could not
            // be stored.
            if (lines.recordCount() > kMaxProgramLines) {
                m_desktop.showMessage(
                    "Программа " + headers.asText(hdr::ProgNum) + " содержит " +
                        std::to_string(lines.recordCount()) +
                        " строк, а в программе намотки может быть не больше " +
                        std::to_string(kMaxProgramLines) + ". Программа не скопирована.",
                    "Ошибка копирования программы", MessageIcon::Error, MessageButtons::Ok);
                return;
            }
            clipboard.clipboardKind = Clipboard::Program;
            m_state.clipboardIndicator = headers.asText(hdr::ProgNum);
            for (int k = 1; k <= 7; ++k)
                clipboard.header[k - 1] = headers.value(hdr::param(k));
            lines.first();
            clipboard.clipboardCursor = 1;
            int k = 1;
            const int count = lines.recordCount();
            for (int i = 0; i < count && k < Clipboard::kLineRecords; ++i, ++k) {
                if (i > 0)
                    lines.next();
                clipboard.lines[k] = copyLine(lines);
            }
            clipboard.clipboardBound = static_cast<std::uint16_t>(k);
            break;
        }
        case Grid::Lines: {
            if (lines.recordCount() == 0)
                return;
            const auto number = lines.asInteger(ln::StrNum);
            if (number < 1 || number >= Clipboard::kLineRecords)
                return;
            clipboard.clipboardKind = Clipboard::Line;
            clipboard.clipboardCursor = static_cast<std::uint16_t>(number);
            clipboard.clipboardBound = 1;
            m_state.clipboardIndicator = lines.asText(ln::ProgNum) + "/" + std::to_string(number);
            clipboard.lines[number] = copyLine(lines);
            break;
        }
        case Grid::None:
            return;
    }
    m_desktop.setClipboardIndicator(m_state.clipboardIndicator);
}

}  // namespace tal
