// Times whole processes side by side: each round runs every command once, in turn, so a change in
// the machine's load falls on all of them alike. Prints each command's median wall time and median
// CPU time (user + system) in milliseconds, to the microsecond.
//
//   interleaved_runs ROUNDS NAME -- COMMAND... [;; NAME -- COMMAND...]...
//
// The commands' output goes to /dev/null; a command that fails stops the measurement (exit 1).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
    std::string name;
    std::vector<char*> argv;  // ends with nullptr
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
};

double milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs the command once; false when it could not start or did not exit with 0.
bool runOnce(Command& command, const posix_spawn_file_actions_t& quiet, bool record) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, command.argv[0], &quiet, nullptr, command.argv.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
    if (record) {
        command.wallMs.push_back(wall.count());
        command.cpuMs.push_back(milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<Command> parse(int argc, char** argv) {
    std::vector<Command> commands;
    for (int i = 2; i < argc;) {
        Command command;
        command.name = argv[i++];
        if (i >= argc || std::string(argv[i++]) != "--")
            return {};
        while (i < argc && std::string(argv[i]) != ";;")
            command.argv.push_back(argv[i++]);
        ++i;  // past ";;"
        if (command.argv.empty())
            return {};
        command.argv.push_back(nullptr);
        commands.push_back(std::move(command));
    }
    return commands;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 0;
    std::vector<Command> commands = parse(argc, argv);
    if (rounds < 1 || commands.empty()) {
        std::fprintf(stderr, "usage: %s ROUNDS NAME -- COMMAND... [;; NAME -- COMMAND...]...\n",
                     argv[0]);
        return 2;
    }
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    // The first round warms the caches and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        for (Command& command : commands) {
            if (!runOnce(command, quiet, round > 0)) {
                std::fprintf(stderr, "%s failed\n", command.name.c_str());
                return 1;
            }
        }
    }
    for (const Command& command : commands)
        std::printf("%-34s wall %7.3f ms   cpu %7.3f ms\n", command.name.c_str(),
                    median(command.wallMs), median(command.cpuMs));
    posix_spawn_file_actions_destroy(&quiet);
    return 0;
}
