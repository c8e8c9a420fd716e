#include "editor/new_program_dialog.h"

#include <climits>

namespace tal {

void NewProgramDialog::FormShow(unsigned programNumberEntry, bool clipboardHoldsProgram) {
    m_entry.show(programNumberEntry);
    m_pasteEnabled = clipboardHoldsProgram;
}

std::optional<NewProgramResult> NewProgramDialog::close(DialogAnswer answer) {
    const std::string& text = m_entry.text();
    if (text.empty())
        return std::nullopt;
    if (answer == DialogAnswer::Paste && !m_pasteEnabled)
        return std::nullopt;
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            // Only pasting can bring such a text into the entry.
            m_desktop.showMessage("'" + text + "' не является номером программы",
                                  "Новая программа намотки", MessageIcon::Error,
                                  MessageButtons::Ok);
            return std::nullopt;
        }
        // A number too long for the range stays out of range instead of wrapping.
        number = number > (LLONG_MAX - 9) / 10 ? LLONG_MAX : number * 10 + (c - '0');
    }
    return NewProgramResult{answer, number};
}

void NewLineDialog::FormShow(unsigned programNumber, bool clipboardHoldsLine) {
    m_programText = std::to_string(programNumber);
    m_pasteEnabled = clipboardHoldsLine;
}

}  // namespace tal
