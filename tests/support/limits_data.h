#pragma once

#include <optional>
#include <string>
#include <vector>

#include "limits/limits_file.h"

namespace tal::test {

// The limits delivered with the system (ТАЛ-1, ТАЛ-2), as compiled in.
std::vector<LimitsRecord> deliveredLimits();

LimitsRecord limitsRecord(std::string config, std::string fieldName, std::optional<double> minValue,
                          std::optional<double> maxValue, std::string message);

// Writes a TALC.DB holding `records` to `path`; fails the test when it cannot.
void writeLimits(const std::string& path, const std::vector<LimitsRecord>& records);

// The Message of the row of (model, field), letter case ignored; nothing when there is none.
std::optional<std::string> limitsMessage(const std::vector<LimitsRecord>& records,
                                         const std::string& model, const std::string& fieldName);

}  // namespace tal::test
