#pragma once

namespace tal {

class Desktop;
class ProgramStore;
struct EditorState;

// The main window's commands on its two grids: find, copy, add, insert and delete act on the
// grid that has the keyboard focus; the grids' focus-loss handlers re-apply the enabling. The
// rows change through the store's tables, whose events do the slot bookkeeping.
class GridCommands {
public:
    explicit GridCommands(ProgramStore& store);
    GridCommands(const GridCommands&) = delete;
    GridCommands& operator=(const GridCommands&) = delete;

    void SpeedButton6Click();   // "Найти"
    void SpeedButton60Click();  // "Копировать"
    void SpeedButton7Click();   // "Добавить"
    void SpeedButton8Click();   // "Вставить"
    void SpeedButton9Click();   // "Удалить"
    void DBGrid0Exit();
    void DBGrid1Exit();

private:
    void insertRowIntoFocusedGrid();
    void findProgram();
    void findLine();

    ProgramStore& m_store;
    EditorState& m_state;
    Desktop& m_desktop;
};

}  // namespace tal
