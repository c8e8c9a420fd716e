#pragma once

#include <string>

namespace tal {

// The name without its last three characters, followed by the extension ("A.bin" → "A.txt").
std::string ChangeExtension(const std::string& name, const std::string& extension);

}  // namespace tal
