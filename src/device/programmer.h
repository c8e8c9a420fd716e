#pragma once

#include <string>

#include "editor/desktop.h"

namespace tal {

// The command lines of the programmer tool PK2CMD.exe for the 25LC512 EEPROM of the machine.
// `programmerFolder` ends with its separator; the tool is started in that folder without it.
// The HEX file name is one argument, whatever characters it holds.

// Writes the HEX file into the EEPROM.
ProgramLaunch programmerWriteLaunch(const std::string& programmerFolder,
                                    const std::string& hexFile);
// Reads the whole EEPROM into the HEX file.
ProgramLaunch programmerReadLaunch(const std::string& programmerFolder, const std::string& hexFile);

}  // namespace tal
