#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// The limits table's file TALC.DB: a SQLite database with the table TALC.
inline constexpr const char* kLimitsFileName = "TALC.DB";
inline constexpr const char* kLimitsTableName = "TALC";

// Field sizes of TALC, in characters.
inline constexpr std::size_t kConfigLength = 10;
inline constexpr std::size_t kFieldNameLength = 8;
inline constexpr std::size_t kTitleLength = 32;
inline constexpr std::size_t kMessageLength = 36;

// One row of the limits table as it is stored; an empty bound is nothing.
struct LimitsRecord {
    std::string config;
    std::string fieldName;
    std::optional<double> minValue;
    std::optional<double> maxValue;
    std::string title;
    std::string message;
    bool operator==(const LimitsRecord&) const = default;
};

struct LimitsReadResult {
    std::vector<LimitsRecord> records;  // in the order of their keys
    std::string error;                  // empty when the file was read
    std::vector<std::string> cutTexts;  // one note per text cut to its field's size
    bool ok() const { return error.empty(); }
};

// Reads the rows of TALC from `path`. A missing file, a file that is no SQLite database, a missing
// table or column or a bound that is no number is an error. A text longer than its field is cut to
// the field's size, as the table engine stores any string field, and noted in `cutTexts`.
LimitsReadResult readLimitsFile(const std::string& path);

// Writes `records` as a fresh TALC database to `path` (through a temporary file that replaces it);
// false, with `error` set, when it cannot be written.
bool writeLimitsFile(const std::string& path, const std::vector<LimitsRecord>& records,
                     std::string& error);

// The readable source of the limits data: UTF-8, tab-separated, a header line
// "Config FieldName MinValue MaxValue Title Message", then one row a line; empty lines and lines
// starting with '#' are skipped; bounds are written with a decimal point.
LimitsReadResult parseLimitsSource(std::string_view text);

// data/limits.tsv as it was when this program was built.
std::string_view deliveredLimitsSource();

}  // namespace tal
