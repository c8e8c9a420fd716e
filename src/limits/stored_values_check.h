#pragma once

#include <string>
#include <vector>

#include "editor/image.h"
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

// Checks every value of the sixteen checked fields of every program in the tables against the
// limits of `model`, as if each were typed again: range and precision, Param 7 against its
// line's Param 6, Param 17 against its program's ProgSize. Moves the tables' cursors; throws
// EngineError when the limits table is not open.
std::vector<ValueFinding> checkStoredValues(ProgramStore& store, LimitsTable& limits,
                                            const std::string& model);

// The same for the programs of an image, loaded as Open loads them into tables of their own, so
// that the editor's tables and their cursors are left alone.
std::vector<ValueFinding> checkImageValues(const Image& image, LimitsTable& limits,
                                           const std::string& model);

}  // namespace tal
