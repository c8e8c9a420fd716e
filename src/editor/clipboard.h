#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editor/value.h"

namespace tal {

// The editor's internal clipboard: one whole program or one line.
struct Clipboard {
    enum Kind : std::int16_t { Empty = -1, Program = 0, Line = 1 };
    static constexpr int kLineRecords = 2015;  // records 1..2014 are used, record 0 never

    using HeaderRecord = std::array<Value, 7>;  // Param 01 .. Param 07
    using LineRecord = std::array<Value, 19>;   // Param 1 .. Param 19

    std::int16_t clipboardKind = Empty;
    std::uint16_t clipboardCursor = 0;
    std::uint16_t clipboardBound = 0;
    HeaderRecord header{};
    std::vector<LineRecord> lines = std::vector<LineRecord>(kLineRecords);
};

}  // namespace tal
