#include "device_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "device/hex_file.h"

namespace tal::test {

Image randomImage(std::uint32_t seed) {
    std::mt19937 random(seed);
    Image image;
    for (auto& byte : image)
        byte = static_cast<std::uint8_t>(random());
    return image;
}

Image imageFromFile(const std::string& path) {
    const std::string bytes = readBytes(path);
    Image image{};
    EXPECT_GE(bytes.size(), image.size()) << path;
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment,
                         const std::string& workingFolder) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::dup2(pipeEnds[1], 2);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0)
            ::_exit(126);
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
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

std::string programmerHexText(const Image& image, bool crlf) {
    // The tool's records are the export's records behind one extended-address line.
    std::string text = ":020000040000FA\r\n" + formatHexFile(image);
    if (crlf)
        return text;
    std::string lf;
    lf.reserve(text.size());
    for (const char c : text)
        if (c != '\r')
            lf.push_back(c);
    return lf;
}

}  // namespace tal::test
