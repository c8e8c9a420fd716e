#pragma once

#include <string>

namespace tal {

// The reason behind a system error number, in Russian for the common ones and as the system
// words it otherwise; empty for 0.
std::string systemErrorText(int error);

}  // namespace tal
