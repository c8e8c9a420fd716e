#pragma once

namespace tal {

class Desktop;

// Switches the line grid, the Delete button and the edit window's panels according to how
// many headers and lines there are and which grid has the focus.
void UpdateEnabling(Desktop& desktop, int headerCount, int lineCount);

}  // namespace tal

namespace tal {

struct EditorState;

// Enables or disables the edit window's DBEdit17 and DBEdit18 (repeat line count and offset);
// tells the desktop only when their enabling changes.
void SetRepeatEditsEnabled(EditorState& state, Desktop& desktop, bool enabled);

}  // namespace tal
