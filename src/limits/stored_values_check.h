#pragma once

#include <string>
#include <vector>

#include "editor/value.h"

namespace tal {

class LimitsTable;
class ProgramStore;

// A stored value the edit window's check would refuse.
struct ValueFinding {
    int program = 0;
    int line = 0;  // StrNum; 0 for the header
    std::string fieldName;
    std::string message;  // what the edit window would show
    std::string caption;  // how the edit window names the field
    Value value;

    // "программа 3, строка 2, Param 7: От начала катушки до 180 мм"
    std::string text() const;
    bool operator==(const ValueFinding&) const = default;
};

// Checks every value of the sixteen checked fields of every posted row of the tables against
// the limits of `model`, as if each were typed again: range and precision, Param 7 against its
// line's Param 6, Param 17 against its program's ProgSize. Findings come program by program, the
// header's before its lines'. The tables' cursors stay where they are; throws EngineError when
// the limits table is not open.
std::vector<ValueFinding> checkStoredValues(ProgramStore& store, LimitsTable& limits,
                                            const std::string& model);

}  // namespace tal
