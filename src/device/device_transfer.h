#pragma once

#include <stdexcept>

namespace tal {

class Desktop;
class ProgramStore;
struct ProgramLaunch;
class WorkingFiles;
struct EditorState;

// A write failed in the middle of the HEX file: left to the standard error report.
class HexWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Export to and import from the machine memory through the programmer tool.
class DeviceTransfer {
public:
    DeviceTransfer(EditorState& state, ProgramStore& store, Desktop& desktop, WorkingFiles& files);

    // "Экспорт": saves when needed, writes the HEX file beside the working file and starts the
    // programmer tool to write it into the EEPROM. Throws HexWriteError, with the system's
    // reason, when writing fails.
    void SpeedButton12Click();
    // "Импорт": the programmer tool reads the EEPROM into a HEX file beside the chosen name,
    // which becomes the new working file.
    void SpeedButton11Click();

private:
    void showError(const char* text, const char* caption);
    // Refuses, with a message, while the programmer tool started before is still at work: two
    // runs would contend for the one programmer.
    bool programmerIsFree(const char* caption);
    bool runProgrammer(const ProgramLaunch& launch);

    EditorState& m_state;
    ProgramStore& m_store;
    Desktop& m_desktop;
    WorkingFiles& m_files;
    bool m_programmerRunning = false;
};

}  // namespace tal
