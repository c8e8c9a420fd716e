#pragma once

#include <optional>
#include <string>

#include "editor/image.h"

namespace tal {

class LimitsTable;

// How many findings the question lists; the rest are counted.
inline constexpr std::size_t kListedFindings = 20;

// Checks every value of every program of the image about to be sent against the limits of
// `model`, as `tal check --limits` does. Returns the question the export asks when a value is
// refused, or when the values cannot be checked at all (no limits table, no row of the model);
// nothing when the image may go to the machine without asking. Opens the limits table if needed.
std::optional<std::string> exportLimitsQuestion(const Image& image, LimitsTable& limits,
                                                const std::string& model);

}  // namespace tal
