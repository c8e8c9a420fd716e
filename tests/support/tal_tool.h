#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process.h"

namespace tal::test {

// Runs the command-line tool with `arguments`; its output holds both streams.
ProcessResult runTal(const std::vector<std::string>& arguments);

// Builds the working file `target` with the tool from a JSON description of its programs; on
// failure the result says what the tool said.
::testing::AssertionResult buildWorkingFile(const std::string& json, const std::string& target);

}  // namespace tal::test
