#pragma once

#include <optional>
#include <string>

namespace tal {

class Desktop;
struct EditorState;

// The save dialog for a working file: proposes the last chosen name, and asks before an
// existing file is replaced, opening the dialog again on No. Nothing when it was cancelled.
std::optional<std::string> chooseWorkingFileToWrite(EditorState& state, Desktop& desktop,
                                                    const char* replaceCaption);

}  // namespace tal
