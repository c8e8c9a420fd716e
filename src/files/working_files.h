#pragma once

#include <string>

namespace tal {

class Desktop;
class ProgramStore;
struct EditorState;

enum class SaveResult {
    Saved,
    Failed,     // message shown; currentImage was rebuilt from the tables
    NotStored,  // message shown; currentImage not rebuilt
    Cancelled,
};

// The working-file commands of the main window's toolbar and the closing question. The working
// file and its remarks file are only ever replaced whole: a failed save keeps the previous files.
class WorkingFiles {
public:
    WorkingFiles(EditorState& state, ProgramStore& store, Desktop& desktop);

    void SpeedButton1Click();  // "Выход"
    void SpeedButton2Click();  // "Создать"
    void SpeedButton3Click() { OpenWorkingFile(); }
    SaveResult SpeedButton4Click();  // "Сохранить"
    SaveResult SpeedButton5Click() { return SaveWorkingFileAs(); }

    // True when a file was read and loaded.
    bool OpenWorkingFile();
    SaveResult SaveWorkingFileAs();
    // The main window closes, whatever the answer or the outcome of saving.
    void FormClose();

private:
    void askToSavePrevious(const char* question);
    SaveResult storeAndWrite(const std::string& target, bool creating);
    void showError(const std::string& text, const char* caption);

    EditorState& m_state;
    ProgramStore& m_store;
    Desktop& m_desktop;
};

}  // namespace tal
