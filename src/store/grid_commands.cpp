// "Добавить", "Вставить", "Удалить" and the grids' focus-loss handlers.

#include "store/grid_commands.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "store/program_store.h"

namespace tal {
namespace {

// Sets the append flag for one command; it is cleared again also when an error passes through.
class AppendScope {
public:
    explicit AppendScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~AppendScope() { m_flag = false; }
    AppendScope(const AppendScope&) = delete;
    AppendScope& operator=(const AppendScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

GridCommands::GridCommands(ProgramStore& store)
    : m_store(store), m_state(store.state()), m_desktop(store.desktop()) {}

void GridCommands::insertRowIntoFocusedGrid() {
    switch (m_desktop.focusedGrid()) {
        case Grid::Headers:
            m_store.headers().insert();
            break;
        case Grid::Lines:
            if (m_store.headers().recordCount() > 0)
                m_store.lines().insert();
            break;
        case Grid::None:
            break;
    }
}

void GridCommands::SpeedButton7Click() {
    AppendScope append(m_state.appendFlag);
    insertRowIntoFocusedGrid();
}

void GridCommands::SpeedButton8Click() {
    insertRowIntoFocusedGrid();
}

void GridCommands::SpeedButton9Click() {
    const Grid focus = m_desktop.focusedGrid();
    Table* table = focus == Grid::Headers ? &m_store.headers()
                   : focus == Grid::Lines ? &m_store.lines()
                                          : nullptr;
    if (!table || table->recordCount() == 0)
        return;
    const char* question =
        focus == Grid::Headers ? "Удалить программу намотки? " : "Удалить строку программы? ";
    if (m_desktop.showMessage(question, "Подтвердите удааление", MessageIcon::None,
                              MessageButtons::YesNo) == MessageAnswer::Yes)
        table->remove();
}

void GridCommands::DBGrid0Exit() {
    m_store.updateEnabling();
}
void GridCommands::DBGrid1Exit() {
    m_store.updateEnabling();
}

}  // namespace tal
