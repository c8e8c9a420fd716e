#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tal::test {

struct ProcessResult {
    int exitCode = -1;   // -1 when the program did not end by itself
    std::string output;  // what it wrote; see ProcessOutput
};

enum class ProcessOutput {
    Both,          // the standard and the error output together
    StandardOnly,  // the error output goes to the test's
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs a program (found on PATH unless the name has a slash) with an argument list, without a
// shell, optionally in another folder and with extra environment variables, and waits for it.
// Exit code 127: it could not be started; 126: there is no such folder.
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const Environment& environment = {}, const std::string& workingFolder = {},
                         ProcessOutput output = ProcessOutput::Both);

// Runs a command line through /bin/sh, for the tests that need its redirections; returns the
// exit code and, when `out` is given, the standard output.
int runShell(const std::string& command, std::string* out = nullptr);

}  // namespace tal::test
