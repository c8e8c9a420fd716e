#include "support/process.h"

#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

namespace tal::test {

ProcessResult runProcess(const std::vector<std::string>& arguments, const Environment& environment,
                         const std::string& workingFolder, ProcessOutput output) {
    if (arguments.empty())
        throw std::invalid_argument("runProcess: no program");
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        if (output == ProcessOutput::Both)
            ::dup2(pipeEnds[1], 2);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0)
            ::_exit(126);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    ProcessResult result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

int runShell(const std::string& command, std::string* out) {
    ProcessResult result =
        runProcess({"/bin/sh", "-c", command}, {}, {}, ProcessOutput::StandardOnly);
    if (out)
        *out = std::move(result.output);
    return result.exitCode;
}

}  // namespace tal::test
