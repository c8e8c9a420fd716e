#include "limits/stored_values_check.h"

#include <optional>

#include "limits/field_check.h"
#include "limits/limits_table.h"
#include "store/editing_tables.h"
#include "store/program_store.h"

namespace tal {

std::string ValueFinding::text() const {
    const std::string where = line == 0 ? "заголовок" : "строка " + std::to_string(line);
    return "программа " + std::to_string(program) + ", " + where + ", " + fieldName + ": " +
           message;
}

std::vector<ValueFinding> checkStoredValues(ProgramStore& store, LimitsTable& limits,
                                            const std::string& model) {
    std::vector<ValueFinding> findings;
    const Table& headers = store.headers();
    const Table& lines = store.lines();
    if (!headers.isOpen() || !lines.isOpen())
        return findings;
    // One lookup per field, not per value: a full image holds some 25,000 checked values.
    const auto fields = checkedFields();
    std::vector<std::optional<LimitsRow>> rows(fields.size());
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (limits.FindLimits(model, fields[f]->name))
            rows[f] = limits.current();

    auto check = [&](const Table& table, int row, FieldTable which, const CheckContext& context,
                     int program, int line) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (!rows[f] || fields[f]->table != which)
                continue;
            const Value& v = table.storedValue(row, fields[f]->index);
            if (auto refusal = refusalOf(*fields[f], *rows[f], v, context))
                findings.push_back({program, line, std::string(fields[f]->name), *refusal,
                                    fieldCaption(*fields[f]), v});
        }
    };
    // Both tables keep their rows in program order (the lines by ProgNum, then StrNum), so one
    // pass over each finds every program's lines without moving a cursor.
    int l = 0;
    for (int h = 0; h < headers.storedRowCount(); ++h) {
        const std::int64_t program = headers.storedValue(h, hdr::ProgNum).asInteger();
        CheckContext context;
        context.progSize = headers.storedValue(h, hdr::ProgSize).asInteger();
        check(headers, h, FieldTable::Headers, context, static_cast<int>(program), 0);
        for (; l < lines.storedRowCount(); ++l) {
            const std::int64_t owner = lines.storedValue(l, ln::ProgNum).asInteger();
            if (owner > program)
                break;
            if (owner < program)
                continue;  // no header holds it
            context.lineParam6 = lines.storedValue(l, ln::param(6)).asFloat();
            const auto line = static_cast<int>(lines.storedValue(l, ln::StrNum).asInteger());
            check(lines, l, FieldTable::Lines, context, static_cast<int>(program), line);
        }
    }
    return findings;
}

}  // namespace tal
