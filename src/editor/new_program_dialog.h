#pragma once

#include <optional>
#include <string>

#include "editor/desktop.h"
#include "editor/number_entry.h"

namespace tal {

// The logic of the new-program dialog TForm5; its window only draws it.
class NewProgramDialog {
public:
    explicit NewProgramDialog(Desktop& desktop) : m_desktop(desktop), m_entry(desktop) {}

    // On showing: the entry shows the proposed number; "Вставить" only for a copied program.
    void FormShow(unsigned programNumberEntry, bool clipboardHoldsProgram);

    const std::string& entryText() const { return m_entry.text(); }
    // The entry's text after an edit the key filter does not see (Delete, pasting).
    void setEntryText(std::string text) { m_entry.setText(std::move(text)); }
    bool pasteEnabled() const { return m_pasteEnabled; }

    // A typed character: digits are kept (true); anything else is discarded with the beep.
    bool Edit1KeyPress(char32_t key) { return m_entry.keyPress(key); }

    // "Создать" and "Вставить": nothing while the entry is empty or not a number (the dialog
    // stays open); otherwise the answer with the entered number in full.
    std::optional<NewProgramResult> Button1Click() { return close(DialogAnswer::Create); }
    std::optional<NewProgramResult> Button2Click() { return close(DialogAnswer::Paste); }
    // "Отменить", or closing the window by any other means.
    NewProgramResult Button3Click() { return {DialogAnswer::Cancel, 0}; }

private:
    std::optional<NewProgramResult> close(DialogAnswer answer);

    Desktop& m_desktop;
    NumberEntry m_entry;
    bool m_pasteEnabled = false;
};

// The logic of the new-line dialog TForm6.
class NewLineDialog {
public:
    void FormShow(unsigned programNumber, bool clipboardHoldsLine);
    const std::string& programText() const { return m_programText; }  // Label2
    bool pasteEnabled() const { return m_pasteEnabled; }

private:
    std::string m_programText;
    bool m_pasteEnabled = false;
};

}  // namespace tal
