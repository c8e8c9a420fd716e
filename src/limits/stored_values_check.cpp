#include "limits/stored_values_check.h"

#include <optional>

#include "editor/desktop.h"
#include "editor/editor_state.h"
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
    // One lookup per field, not per value: a full image holds some 25,000 checked values.
    const auto fields = checkedFields();
    std::vector<std::optional<LimitsRow>> rows(fields.size());
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (limits.FindLimits(model, fields[f]->name))
            rows[f] = limits.current();

    auto check = [&](std::size_t f, const Value& v, const CheckContext& context, int program,
                     int line) {
        if (!rows[f])
            return;
        if (auto refusal = refusalOf(*fields[f], *rows[f], v, context))
            findings.push_back({program, line, std::string(fields[f]->name), *refusal,
                                fieldCaption(*fields[f]), v});
    };
    headers.first();
    for (int h = 0; h < headers.recordCount(); ++h) {
        if (h > 0)
            headers.next();
        const int program = static_cast<int>(headers.asInteger(hdr::ProgNum));
        CheckContext context;
        context.progSize = headers.asInteger(hdr::ProgSize);
        for (std::size_t f = 0; f < fields.size(); ++f)
            if (fields[f]->table == FieldTable::Headers)
                check(f, headers.value(fields[f]->index), context, program, 0);
        for (int l = 0; l < lines.recordCount(); ++l) {
            context.lineParam6 = lines.rowValue(l, ln::param(6)).asFloat();
            const int line = static_cast<int>(lines.rowValue(l, ln::StrNum).asInteger());
            for (std::size_t f = 0; f < fields.size(); ++f)
                if (fields[f]->table == FieldTable::Lines)
                    check(f, lines.rowValue(l, fields[f]->index), context, program, line);
        }
    }
    headers.first();
    return findings;
}

std::vector<ValueFinding> checkImageValues(const Image& image, LimitsTable& limits,
                                           const std::string& model) {
    EditorState state;
    state.currentImage = image;
    NullDesktop quiet;  // a damaged image is the loader's business, reported when it is opened
    ProgramStore store(state, quiet);
    store.LoadImage("");
    return checkStoredValues(store, limits, model);
}

}  // namespace tal
