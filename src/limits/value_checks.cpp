#include "limits/value_checks.h"

#include "editor/editor_state.h"
#include "editor/update_enabling.h"
#include "limits/limits_table.h"
#include "store/editing_tables.h"
#include "store/program_store.h"

namespace tal {

ValueChecks::ValueChecks(ProgramStore& store, LimitsTable& limits)
    : m_store(store), m_limits(limits), m_state(store.state()), m_desktop(store.desktop()) {}

Table& ValueChecks::tableOf(const FieldEntry& field) {
    return field.table == FieldTable::Headers ? m_store.headers() : m_store.lines();
}

void ValueChecks::install() {
    for (const FieldEntry* field : checkedFields())
        tableOf(*field).setValidator(field->index,
                                     [this, field](Table&, int) { validate(*field); });
}

void ValueChecks::validate(const FieldEntry& field) {
    m_state.lastValueAccepted = true;
    Table& table = tableOf(field);
    if (table.state() != TableState::Edit)
        return;  // a new row is not checked before it is first posted
    LimitsRow row;
    try {
        if (!m_limits.FindLimits(m_state.machineModel, field.name))
            return;
        row = m_limits.current();
    } catch (const EngineError& e) {
        // Refuses the value, but it was no check that failed: the flag stays true.
        throw ValidationError(e.what());
    }
    CheckContext context;
    if (field.check.bounds == BoundRule::LowerIsParam6)
        context.lineParam6 = m_store.lines().asFloat(ln::param(6));
    if (field.check.bounds == BoundRule::UpperIsProgSize)
        context.progSize = m_store.headers().asInteger(hdr::ProgSize);
    const Value& v = table.value(field.index);
    if (auto refusal = refusalOf(field, row, v, context)) {
        m_state.lastValueAccepted = false;
        throw ValidationError(*refusal);
    }
    if (&field == &fieldAt(FieldTable::Lines, ln::param(16)))
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

}  // namespace tal
