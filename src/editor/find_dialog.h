#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "editor/number_entry.h"

namespace tal {

class Desktop;

// A text that is no integer ("'99999999999' is not a valid integer value"); shown to the operator
// by the standard error report.
class InvalidIntegerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The logic of the find dialogs TForm3 (program number) and TForm4 (line number); each window
// holds one and only draws it.
class FindDialog {
public:
    explicit FindDialog(Desktop& desktop) : m_entry(desktop) {}

    // On showing: Edit1 shows the entry.
    void FormShow(unsigned entry) { m_entry.show(entry); }

    const std::string& entryText() const { return m_entry.text(); }
    void setEntryText(std::string text) { m_entry.setText(std::move(text)); }
    bool Edit1KeyPress(char32_t key) { return m_entry.keyPress(key); }

    // "Найти": nothing while Edit1 is empty (the dialog stays open); otherwise the entered number
    // in full, with which the dialog closes. A text beyond 32 bits, or one that is no integer,
    // throws InvalidIntegerError and the dialog stays open.
    std::optional<long long> Button1Click() const;

private:
    NumberEntry m_entry;
};

}  // namespace tal
