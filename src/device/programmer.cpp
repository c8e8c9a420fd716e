#include "device/programmer.h"

namespace tal {
namespace {

ProgramLaunch launchIn(const std::string& programmerFolder) {
    ProgramLaunch launch;
    launch.program = programmerFolder + "PK2CMD.exe";
    launch.workingFolder = programmerFolder.empty()
                               ? std::string()
                               : programmerFolder.substr(0, programmerFolder.size() - 1);
    launch.arguments.push_back("/P25LC512");
    return launch;
}

}  // namespace

ProgramLaunch programmerWriteLaunch(const std::string& programmerFolder,
                                    const std::string& hexFile) {
    ProgramLaunch launch = launchIn(programmerFolder);
    launch.arguments.push_back("/F" + hexFile);
    launch.arguments.push_back("/M");
    return launch;
}

ProgramLaunch programmerReadLaunch(const std::string& programmerFolder,
                                   const std::string& hexFile) {
    ProgramLaunch launch = launchIn(programmerFolder);
    launch.arguments.push_back("/GF" + hexFile);
    return launch;
}

}  // namespace tal
