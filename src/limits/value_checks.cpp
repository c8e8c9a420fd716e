#include "limits/value_checks.h"

#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "limits/limits_table.h"
#include "store/program_store.h"

namespace tal {
namespace {

// Found while compiling: a check runs on every assignment to its field, loading included.
consteval const CheckedField& checked(std::string_view fieldName) {
    for (const CheckedField& field : kCheckedFields)
        if (field.fieldName == fieldName)
            return field;
    throw "not a checked field";
}

}  // namespace

ValueChecks::ValueChecks(ProgramStore& store, LimitsTable& limits)
    : m_store(store), m_limits(limits), m_state(store.state()), m_desktop(store.desktop()) {}

Table& ValueChecks::tableOf(const CheckedField& field) {
    return field.table == CheckedTable::Headers ? m_store.headers() : m_store.lines();
}

void ValueChecks::install() {
    using Handler = void (ValueChecks::*)();
    const Handler handlers[] = {
        &ValueChecks::Table0Param02Validate, &ValueChecks::Table0Param04Validate,
        &ValueChecks::Table0Param05Validate, &ValueChecks::Table1Param1Validate,
        &ValueChecks::Table1Param2Validate,  &ValueChecks::Table1Param4Validate,
        &ValueChecks::Table1Param6Validate,  &ValueChecks::Table1Param7Validate,
        &ValueChecks::Table1Param8Validate,  &ValueChecks::Table1Param10Validate,
        &ValueChecks::Table1Param11Validate, &ValueChecks::Table1Param14Validate,
        &ValueChecks::Table1Param15Validate, &ValueChecks::Table1Param16Validate,
        &ValueChecks::Table1Param17Validate, &ValueChecks::Table1Param18Validate,
    };
    static_assert(std::size(handlers) == kCheckedFields.size());
    for (std::size_t i = 0; i < kCheckedFields.size(); ++i) {
        const CheckedField& field = kCheckedFields[i];
        tableOf(field).setValidator(
            field.field, [this, handler = handlers[i]](Table&, int) { (this->*handler)(); });
    }
}

void ValueChecks::validate(const CheckedField& field) {
    m_state.lastValueAccepted = true;
    Table& table = tableOf(field);
    if (table.state() != TableState::Edit)
        return;  // a new row is not checked before it is first posted
    LimitsRow row;
    try {
        if (!m_limits.FindLimits(m_state.machineModel, field.fieldName))
            return;
        row = m_limits.current();
    } catch (const EngineError& e) {
        // Refuses the value, but it was no check that failed: the flag stays true.
        throw ValidationError(e.what());
    }
    CheckContext context;
    if (field.bounds == BoundRule::LowerIsParam6)
        context.lineParam6 = m_store.lines().asFloat(ln::param(6));
    if (field.bounds == BoundRule::UpperIsProgSize)
        context.progSize = m_store.headers().asInteger(hdr::ProgSize);
    const Value& v = table.value(field.field);
    if (auto refusal = refusalOf(field, row, v, context)) {
        m_state.lastValueAccepted = false;
        throw ValidationError(*refusal);
    }
    if (&field == &checked("Param 16"))
        repeatCountAccepted(v.asInteger());
}

void ValueChecks::repeatCountAccepted(std::int64_t repeats) {
    if (repeats != 0) {
        SetRepeatEditsEnabled(m_state, m_desktop, true);
        return;
    }
    // Each assignment runs its own check; a refusal there refuses this value too.
    Table& lines = m_store.lines();
    lines.setInteger(ln::param(17), 0);
    lines.setInteger(ln::param(18), 0);
    SetRepeatEditsEnabled(m_state, m_desktop, false);
}

void ValueChecks::Table0Param02Validate() {
    validate(checked("Param 02"));
}
void ValueChecks::Table0Param04Validate() {
    validate(checked("Param 04"));
}
void ValueChecks::Table0Param05Validate() {
    validate(checked("Param 05"));
}
void ValueChecks::Table1Param1Validate() {
    validate(checked("Param 1"));
}
void ValueChecks::Table1Param2Validate() {
    validate(checked("Param 2"));
}
void ValueChecks::Table1Param4Validate() {
    validate(checked("Param 4"));
}
void ValueChecks::Table1Param6Validate() {
    validate(checked("Param 6"));
}
void ValueChecks::Table1Param7Validate() {
    validate(checked("Param 7"));
}
void ValueChecks::Table1Param8Validate() {
    validate(checked("Param 8"));
}
void ValueChecks::Table1Param10Validate() {
    validate(checked("Param 10"));
}
void ValueChecks::Table1Param11Validate() {
    validate(checked("Param 11"));
}
void ValueChecks::Table1Param14Validate() {
    validate(checked("Param 14"));
}
void ValueChecks::Table1Param15Validate() {
    validate(checked("Param 15"));
}
void ValueChecks::Table1Param16Validate() {
    validate(checked("Param 16"));
}
void ValueChecks::Table1Param17Validate() {
    validate(checked("Param 17"));
}
void ValueChecks::Table1Param18Validate() {
    validate(checked("Param 18"));
}

}  // namespace tal
