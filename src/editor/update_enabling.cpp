#include "editor/update_enabling.h"

#include "editor/desktop.h"

namespace tal {

void UpdateEnabling(Desktop& desktop, int headerCount, int lineCount) {
    if (headerCount == 0) {
        desktop.setEnabled(Control::DBGrid1, false);
        desktop.setEnabled(Control::SpeedButton9, false);
        desktop.setEnabled(Control::EditAddLine, false);
        desktop.setEnabled(Control::DBNavigator1, false);
        desktop.setEnabled(Control::ScrollBox0, false);
        desktop.setEnabled(Control::ScrollBox1, false);
        return;
    }
    const Grid focus = desktop.focusedGrid();
    desktop.setEnabled(Control::DBGrid1, true);
    if (focus == Grid::Headers)
        desktop.setEnabled(Control::SpeedButton9, true);
    desktop.setEnabled(Control::EditAddLine, true);
    desktop.setEnabled(Control::DBNavigator1, true);
    desktop.setEnabled(Control::ScrollBox0, true);
    if (lineCount == 0) {
        if (focus == Grid::Lines)
            desktop.setEnabled(Control::SpeedButton9, false);
        desktop.setEnabled(Control::ScrollBox1, false);
    } else {
        if (focus == Grid::Lines)
            desktop.setEnabled(Control::SpeedButton9, true);
        desktop.setEnabled(Control::ScrollBox1, true);
    }
}

}  // namespace tal

#include "editor/editor_state.h"

namespace tal {

void SetRepeatEditsEnabled(EditorState& state, Desktop& desktop, bool enabled) {
    if (state.repeatEditsEnabled == enabled)
        return;
    state.repeatEditsEnabled = enabled;
    desktop.setEnabled(Control::DBEdit17, enabled);
    desktop.setEnabled(Control::DBEdit18, enabled);
}

}  // namespace tal
