#pragma once

#include <string>
#include <string_view>

namespace tal {

class Desktop;
struct EditorState;

// The three settings of TAL.cfg, as UTF-8.
struct SettingsStrings {
    std::string machineModel;
    std::string programsFolder;
    std::string programmerFolder;
    bool operator==(const SettingsStrings&) const = default;
};

// The settings file's bytes: line 0 is the model, line 1 the programs folder, line 2 the
// programmer folder, each ended by LF; every other byte, CR and backslash included, belongs to
// its line; later lines are ignored.
SettingsStrings parseSettingsFile(std::string_view bytes);

// Reads `settingsFilePath` into the three settings and makes the programs folder the initial
// folder of the file dialogs. False, silently, when the file cannot be opened (the settings keep
// their values) or a read fails (the settings keep what was read).
bool ReadSettingsFile(EditorState& state);

// Replaces `settingsFilePath` by the three settings, each ended by LF, in Windows-1251. Failures
// are shown captioned "Сохранить"; the settings in memory keep their values either way.
void WriteSettingsFile(EditorState& state, Desktop& desktop);

// A folder setting ends with a backslash; on systems whose separator is "/" the backslash the
// folder dialog appended stands for it, so this gives the folder as the file system names it.
std::string folderOnDisk(const std::string& folderSetting);

// `folder` (with or without a trailing separator) followed by `name`.
std::string joinFolder(const std::string& folder, const std::string& name);

}  // namespace tal
