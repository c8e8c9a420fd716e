#pragma once

namespace tal {

class Desktop;
class ProgramStore;
struct EditorState;

// The logic of the edit window TForm2; the window binds its controls to the tables and forwards
// its events here.
class EditWindowCommands {
public:
    explicit EditWindowCommands(ProgramStore& store);

    // The repeat edits follow the current line's repeat count from the window's creation on.
    void FormCreate();
    // "Добавить строку": a new line after the last line of the program; its repeat edits start
    // disabled.
    void SpeedButton1Click();
    // The focus left the header panel or the line panel: a pending edit of its table is saved;
    // a new row is not.
    void ScrollBox0Exit();
    void ScrollBox1Exit();
    // Whether the window may close: not while the last value typed was refused. Either way the
    // pending edits of both tables are saved; an error there is thrown and keeps the window open.
    bool FormClose();

private:
    ProgramStore& m_store;
    EditorState& m_state;
    Desktop& m_desktop;
};

}  // namespace tal
