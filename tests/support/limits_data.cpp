#include "support/limits_data.h"

#include <gtest/gtest.h>

#include "store/text.h"

namespace tal::test {

std::vector<LimitsRecord> deliveredLimits() {
    LimitsReadResult parsed = parseLimitsSource(deliveredLimitsSource());
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    return parsed.records;
}

LimitsRecord limitsRecord(std::string config, std::string fieldName, std::optional<double> minValue,
                          std::optional<double> maxValue, std::string message) {
    return {std::move(config), std::move(fieldName), minValue, maxValue, "", std::move(message)};
}

void writeLimits(const std::string& path, const std::vector<LimitsRecord>& records) {
    std::string error;
    ASSERT_TRUE(writeLimitsFile(path, records, error)) << error;
}

std::optional<std::string> limitsMessage(const std::vector<LimitsRecord>& records,
                                         const std::string& model, const std::string& fieldName) {
    for (const LimitsRecord& record : records)
        if (foldCase(record.config) == foldCase(model) &&
            foldCase(record.fieldName) == foldCase(fieldName))
            return record.message;
    return std::nullopt;
}

}  // namespace tal::test
