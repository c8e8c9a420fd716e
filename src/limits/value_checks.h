#pragma once

#include <cstdint>

#include "limits/field_check.h"

namespace tal {

class Desktop;
class LimitsTable;
class ProgramStore;
class Table;
struct EditorState;

// The OnValidate handlers of the sixteen checked fields of Table0 and Table1 (Table0Param02Validate
// and so on, as the field catalogue names them), all one algorithm. A value is checked only while
// an existing row is being edited, against the limits row of the current machine model; every
// refusal, an error of the limits table included, is a ValidationError carrying the message the
// operator sees, and the engine keeps the field's old value.
class ValueChecks {
public:
    ValueChecks(ProgramStore& store, LimitsTable& limits);
    ValueChecks(const ValueChecks&) = delete;
    ValueChecks& operator=(const ValueChecks&) = delete;

    // Makes the handlers the validators of their fields.
    void install();

    // The handler of one checked field.
    void validate(const FieldEntry& field);

private:
    void repeatCountAccepted(std::int64_t repeats);
    Table& tableOf(const FieldEntry& field);

    ProgramStore& m_store;
    LimitsTable& m_limits;
    EditorState& m_state;
    Desktop& m_desktop;
};

}  // namespace tal
