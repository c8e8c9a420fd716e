#pragma once

#include "limits/field_check.h"

namespace tal {

class Desktop;
class LimitsTable;
class ProgramStore;
class Table;
struct EditorState;

// The OnValidate handlers of the sixteen checked fields of Table0 and Table1. A value is checked
// only while an existing row is being edited, against the limits row of the current machine
// model; every refusal, an error of the limits table included, is a ValidationError carrying the
// message the operator sees, and the engine keeps the field's old value.
class ValueChecks {
public:
    ValueChecks(ProgramStore& store, LimitsTable& limits);
    ValueChecks(const ValueChecks&) = delete;
    ValueChecks& operator=(const ValueChecks&) = delete;

    // Makes the handlers the validators of their fields.
    void install();

    void Table0Param02Validate();
    void Table0Param04Validate();
    void Table0Param05Validate();
    void Table1Param1Validate();
    void Table1Param2Validate();
    void Table1Param4Validate();
    void Table1Param6Validate();
    void Table1Param7Validate();
    void Table1Param8Validate();
    void Table1Param10Validate();
    void Table1Param11Validate();
    void Table1Param14Validate();
    void Table1Param15Validate();
    void Table1Param16Validate();
    void Table1Param17Validate();
    void Table1Param18Validate();

private:
    void validate(const CheckedField& field);
    void repeatCountAccepted(std::int64_t repeats);
    Table& tableOf(const CheckedField& field);

    ProgramStore& m_store;
    LimitsTable& m_limits;
    EditorState& m_state;
    Desktop& m_desktop;
};

}  // namespace tal
