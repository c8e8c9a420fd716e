#pragma once

#include <string>

namespace tal {

class Desktop;

// The number field Edit1 of the small dialogs (new program, find program, find line): it shows
// an entry of the main window and takes decimal digits only.
class NumberEntry {
public:
    explicit NumberEntry(Desktop& desktop) : m_desktop(desktop) {}

    // The entry as a decimal number without leading zeros.
    void show(unsigned entry) { m_text = std::to_string(entry); }

    const std::string& text() const { return m_text; }
    // The text after an edit the key filter does not see (Delete, pasting).
    void setText(std::string text) { m_text = std::move(text); }

    // A typed character: a digit is kept (true); anything else, Backspace, Enter and Escape
    // included, is discarded with the beep.
    bool keyPress(char32_t key);

private:
    Desktop& m_desktop;
    std::string m_text;
};

}  // namespace tal
