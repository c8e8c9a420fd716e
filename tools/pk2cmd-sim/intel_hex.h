#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pk2sim {

inline constexpr std::size_t kEepromSize = 65536;  // 25LC512
using Eeprom = std::array<std::uint8_t, kEepromSize>;

struct ParseResult {
    bool ok = false;
    std::string error;  // with the line number, when !ok
    std::size_t dataBytes = 0;
};

// Applies the data records of an Intel HEX text to `memory`, record by record: data,
// end-of-file and extended (segment or linear) address records, each checksum verified.
// `memory` is left untouched unless the whole text is good.
ParseResult applyIntelHex(std::string_view text, Eeprom& memory);

// The memory as the programmer tool writes it: an extended-address record, 4096 data records of
// 16 bytes and the end record.
std::string formatIntelHex(const Eeprom& memory, bool crlf);

}  // namespace pk2sim
