#pragma once

#include <optional>
#include <string>

namespace tal {

class LimitsTable;
class ProgramStore;

// How many findings the question lists; the rest are counted.
inline constexpr std::size_t kListedFindings = 20;

// Checks every value of every program in the tables, from which the image about to be sent was
// built or loaded, against the limits of `model`, as `tal check --limits` does. Returns the
// question the export asks when a value is refused, or when the values cannot be checked at all
// (no limits table, no row of the model); nothing when the image may go to the machine without
// asking. Opens the limits table if needed.
std::optional<std::string> exportLimitsQuestion(ProgramStore& store, LimitsTable& limits,
                                                const std::string& model);

}  // namespace tal
