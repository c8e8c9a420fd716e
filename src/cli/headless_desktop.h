#pragma once

#include <deque>
#include <iosfwd>

#include "editor/desktop.h"

namespace tal {

// The desktop of the command-line tool: messages go to stderr, the new-program dialog answers
// from a queue, every other dialog is cancelled.
class HeadlessDesktop : public NullDesktop {
public:
    explicit HeadlessDesktop(std::ostream& errors) : m_errors(errors) {}

    void queueNewProgram(NewProgramResult result) { m_newPrograms.push_back(result); }
    int errorCount() const { return m_errorCount; }

    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    Grid focusedGrid() override { return m_focus; }
    void focusGrid(Grid grid) override { m_focus = grid; }
    NewProgramResult askNewProgram(unsigned, bool) override;
    DialogAnswer askNewLine(unsigned, bool) override { return DialogAnswer::Create; }

private:
    std::ostream& m_errors;
    Grid m_focus = Grid::None;
    std::deque<NewProgramResult> m_newPrograms;
    int m_errorCount = 0;
};

}  // namespace tal
