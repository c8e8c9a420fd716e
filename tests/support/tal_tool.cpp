#include "support/tal_tool.h"

#include <filesystem>

#include "support/file_bytes.h"

namespace tal::test {

ProcessResult runTal(const std::vector<std::string>& arguments) {
    std::vector<std::string> all{TAL_CLI_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runProcess(all);
}

::testing::AssertionResult buildWorkingFile(const std::string& json, const std::string& target) {
    const std::string source = target + ".json";
    writeBytes(source, json);
    const ProcessResult built = runTal({"build", source, "-o", target});
    std::error_code ec;
    std::filesystem::remove(source, ec);
    if (built.exitCode != 0)
        return ::testing::AssertionFailure() << "tal build " << target << " exited with "
                                             << built.exitCode << ": " << built.output;
    return ::testing::AssertionSuccess();
}

}  // namespace tal::test
