#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pk2sim {

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes through a temporary file in the same folder that then replaces the target, so an
// interrupted run never leaves a half-written file. Returns an error text, empty on success.
std::string writeFileAtomically(const std::string& path, std::string_view bytes);

// The folder of the running program, with its trailing separator.
std::string programFolder(const char* argv0);

}  // namespace pk2sim
