#pragma once

#include <string>

namespace tal {

class Desktop;
class LimitsTable;
class ProgramStore;
struct EditorState;

// The main window's life: the checks and reads while it is created, the empty tables when it is
// first shown, the closed tables when it is destroyed.
class Startup {
public:
    Startup(EditorState& state, ProgramStore& store, LimitsTable& limits, Desktop& desktop);

    // Forms the paths of TAL.cfg and TAL.ini in `executableFolder`, checks that the table files
    // exist in the current directory, reads the blank image and the settings. False when the
    // application cannot run: the reason was shown and the application quits.
    bool FormCreate(const std::string& executableFolder);
    void FormShow();
    void FormDestroy();

private:
    EditorState& m_state;
    ProgramStore& m_store;
    LimitsTable& m_limits;
    Desktop& m_desktop;
};

}  // namespace tal
