#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// The remarks file: one NUL-ended Windows-1251 record per program, in program-number order.
class RemarksReader {
public:
    explicit RemarksReader(std::string bytes) : m_bytes(std::move(bytes)) {}
    // The next remark (UTF-8): the bytes up to a NUL, the end of the file, or 100 bytes read;
    // at most 99 characters of it. Empty past the end.
    std::string next();

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

// Bytes of the remarks file for these remarks; nothing when a remark has a character that
// Windows-1251 cannot hold (`badIndex` then names it).
std::optional<std::string> encodeRemarks(const std::vector<std::string>& remarks,
                                         std::size_t* badIndex = nullptr);

// The most a remarks file can hold that is ever read: 256 records of 100 bytes.
inline constexpr std::size_t kRemarksReadLimit = 256 * 100;

}  // namespace tal
