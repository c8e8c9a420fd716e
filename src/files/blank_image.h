#pragma once

namespace tal {

class Desktop;
struct EditorState;

// Reads the first 65536 bytes of the blank image `blankImagePath` into currentImage. On failure,
// or when the file is no blank image (a directory entry in use, a slot without its own number),
// shows why (caption "Инициализация"), leaves currentImage as it was and returns false.
bool ReadBlankImage(EditorState& state, Desktop& desktop);

}  // namespace tal
