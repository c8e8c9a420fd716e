#include "limits/stored_values_check.h"

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
    Table& headers = store.headers();
    Table& lines = store.lines();
    if (!headers.isOpen() || headers.recordCount() == 0)
        return findings;
    auto check = [&](const FieldEntry& field, const Value& v, const CheckContext& context,
                     int program, int line) {
        if (!limits.FindLimits(model, field.name))
            return;
        if (auto refusal = refusalOf(field, limits.current(), v, context))
            findings.push_back({program, line, std::string(field.name), *refusal});
    };
    headers.first();
    for (int h = 0; h < headers.recordCount(); ++h) {
        if (h > 0)
            headers.next();
        const int program = static_cast<int>(headers.asInteger(hdr::ProgNum));
        CheckContext context;
        context.progSize = headers.asInteger(hdr::ProgSize);
        for (const FieldEntry* field : checkedFields())
            if (field->table == FieldTable::Headers)
                check(*field, headers.value(field->index), context, program, 0);
        for (int l = 0; l < lines.recordCount(); ++l) {
            context.lineParam6 = lines.rowValue(l, ln::param(6)).asFloat();
            const int line = static_cast<int>(lines.rowValue(l, ln::StrNum).asInteger());
            for (const FieldEntry* field : checkedFields())
                if (field->table == FieldTable::Lines)
                    check(*field, lines.rowValue(l, field->index), context, program, line);
        }
    }
    headers.first();
    return findings;
}

}  // namespace tal
