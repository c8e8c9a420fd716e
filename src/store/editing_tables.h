#pragma once

#include <memory>

#include "store/table.h"

namespace tal {

// Fields of the header table Table0, in their order.
namespace hdr {
enum : int {
    Key,
    ProgNum,
    Param01,
    Param02,
    Param03,
    Param04,
    Param05,
    Param06,
    Param07,
    ProgSize,
    NextStr,
    CurStr,
    Remark,
};
// Param 0k for k = 1..7.
constexpr int param(int k) {
    return Param01 + k - 1;
}
}  // namespace hdr

// Fields of the line table Table1, in their order.
namespace ln {
enum : int {
    Key,
    ProgNum,
    Param1,
    Param19 = Param1 + 18,
    PredStr,
    NextStr,
    CurStr,
    StrNum,
};
// Param k for k = 1..19.
constexpr int param(int k) {
    return Param1 + k - 1;
}
}  // namespace ln

inline constexpr int kRemarkLength = 99;

std::unique_ptr<Table> makeHeaderTable();  // talp.db, ordered by ProgNum
std::unique_ptr<Table> makeLineTable();    // tals.db, ordered by ProgNum, StrNum

}  // namespace tal
