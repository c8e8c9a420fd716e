#pragma once

#include <string>

namespace tal {

class ProgramStore;

enum class SaveStatus {
    Saved,
    BlankUnreadable,     // ReadBlankImage failed (its messages were shown); nothing written
    CreateFailed,        // the working file could not be created; nothing written
    WriteFailed,         // the working file could not be written; nothing replaced
    RemarksWriteFailed,  // the remarks file could not be written; nothing replaced
};

// Save and Save As of the editor and every `tal` command that writes a working file: rebuilds
// currentImage from the rows (StoreImage) and writes `target` and its remarks file together. Both
// are written beside their files first and put in place only when both are complete, so a
// failure replaces neither. A remarks file that cannot be created is passed over, the previous
// one kept. `error` receives the system's error number of a failure. Throws StoreError when a
// remark has a character that Windows-1251 cannot hold, before anything is written.
SaveStatus saveWorkingFile(ProgramStore& store, const std::string& target, int& error);

}  // namespace tal
