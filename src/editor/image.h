#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tal {

// The machine's program memory: a 25LC512 EEPROM of 64 KB, byte for byte.
inline constexpr std::size_t kImageSize = 65536;
using Image = std::array<std::uint8_t, kImageSize>;

}  // namespace tal
