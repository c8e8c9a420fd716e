#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "editor/image.h"

namespace tal {

class Desktop;
class LimitsTable;
class ProgramStore;
struct ProgramExit;
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
    DeviceTransfer(EditorState& state, ProgramStore& store, LimitsTable& limits, Desktop& desktop,
                   WorkingFiles& files);

    // "Экспорт": saves when needed, checks every value against the limits of the machine model
    // (asking before values outside them are sent), writes the HEX file beside the working file
    // and starts the programmer tool to write it into the EEPROM. When the tool has written it,
    // the memory is read back and compared with the image sent. Throws HexWriteError, with the
    // system's reason, when writing the HEX file fails.
    void SpeedButton12Click();
    // "Импорт": the programmer tool reads the EEPROM into a HEX file beside the chosen name,
    // which becomes the new working file.
    void SpeedButton11Click();

private:
    void showError(const char* text, const char* caption);
    // Refuses, with a message, while the programmer tool started before is still at work: two
    // runs would contend for the one programmer.
    bool programmerIsFree(const char* caption);
    bool runProgrammer(const ProgramLaunch& launch, std::function<void(const ProgramExit&)> then);
    bool valuesMayBeSent();
    // The write has ended: a successful one is read back into a file beside the HEX file.
    void writeFinished(const ProgramExit& exit, const Image& sent, const std::string& hexFile);
    void readBackFinished(const ProgramExit& exit, const Image& sent, const std::string& readBack);
    void verificationFailed(const std::string& why);

    EditorState& m_state;
    ProgramStore& m_store;
    LimitsTable& m_limits;
    Desktop& m_desktop;
    WorkingFiles& m_files;
    bool m_programmerRunning = false;
};

}  // namespace tal
