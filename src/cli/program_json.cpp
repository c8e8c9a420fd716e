#include "cli/program_json.h"

#include <limits>
#include <optional>
#include <sstream>

#include "cli/headless_desktop.h"
#include "store/editing_tables.h"
#include "store/field_catalogue.h"
#include "store/grid_commands.h"
#include "store/image_capacity.h"
#include "store/memory_image.h"
#include "store/program_store.h"

namespace tal {
namespace {

using json = nlohmann::ordered_json;

json toJson(const Value& v) {
    if (v.isInteger())
        return v.asInteger();
    if (v.isReal())
        return v.asFloat();
    if (v.isText())
        return v.asText();
    return nullptr;
}

Value fromJson(const json& j) {
    // Beyond 64 bits an integer goes on as a real, so that the field refuses it in full.
    if (j.is_number_unsigned() &&
        j.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        return Value::real(j.get<double>());
    if (j.is_number_integer())
        return Value::integer(j.get<std::int64_t>());
    if (j.is_number())
        return Value::real(j.get<double>());
    if (j.is_string())
        return Value::text(j.get<std::string>());
    if (j.is_boolean())
        return Value::integer(j.get<bool>() ? 1 : 0);
    return Value();
}

// The fields a row shows in the JSON and the text: its number first, then the others in table
// order.
std::vector<const FieldEntry*> dumpedFields(FieldTable table) {
    std::vector<const FieldEntry*> fields;
    for (const FieldEntry& field : fieldsOf(table)) {
        if (field.json == JsonRole::Number)
            fields.insert(fields.begin(), &field);
        else if (field.json != JsonRole::None)
            fields.push_back(&field);
    }
    return fields;
}

const std::vector<const FieldEntry*>& dumpedHeaderFields() {
    static const auto fields = dumpedFields(FieldTable::Headers);
    return fields;
}

const std::vector<const FieldEntry*>& dumpedLineFields() {
    static const auto fields = dumpedFields(FieldTable::Lines);
    return fields;
}

json rowToJson(const Table& table, const std::vector<const FieldEntry*>& fields) {
    json row = json::object();
    for (const FieldEntry* field : fields) {
        const Value& value = table.value(field->index);
        // A text field is a text, "" when empty (a remark without a remarks file).
        row[std::string(field->jsonKey())] =
            field->type == FieldType::String && value.isNull() ? json("") : toJson(value);
    }
    return row;
}

// "  name=value" for each field but the row's number; free text in quotes.
void rowToText(std::ostream& out, const Table& table,
               const std::vector<const FieldEntry*>& fields) {
    for (const FieldEntry* field : fields) {
        if (field->json == JsonRole::Number)
            continue;
        const bool freeText = field->type == FieldType::String && !field->isChoice();
        const char* quote = freeText ? "\"" : "";
        out << "  " << field->name << "=" << quote << table.asText(field->index) << quote;
    }
}

// Assigns the fields `tal build` takes from a program or line object; false, with `error`
// naming `where` and the refusal, when a field does not take its value or the image could not
// hold it. The value is checked as given (12.5 for an integer is not rounded) and as the field
// took it (a text read as a number).
bool takeGivenFields(Table& table, FieldTable fields, const json& object, const std::string& where,
                     std::string& error) {
    for (const FieldEntry& field : fieldsOf(fields)) {
        const std::string key(field.jsonKey());
        if (field.json != JsonRole::Given || !object.contains(key))
            continue;
        std::optional<std::string> refusal;
        try {
            const Value given = fromJson(object[key]);
            refusal = imageRefusal(field, given);
            if (!refusal) {
                table.setValue(field.index, given);
                refusal = imageRefusal(field, table.value(field.index));
            }
        } catch (const std::runtime_error& e) {  // an engine error, or a check's refusal
            refusal = e.what();
        }
        if (refusal) {
            // Every refusal names the field, even one worded for the edit window, where the
            // operator sees which field they typed into.
            const std::string quoted = "'" + key + "'";
            error = where + (refusal->find(quoted) == std::string::npos ? ", поле " + quoted : "") +
                    ": " + *refusal;
            return false;
        }
    }
    return true;
}

// Runs `body` for every header, then every line of it, in table order.
template <typename HeaderFn, typename LineFn>
void walk(ProgramStore& store, HeaderFn onHeader, LineFn onLine) {
    Table& headers = store.headers();
    Table& lines = store.lines();
    if (!headers.isOpen() || headers.recordCount() == 0)
        return;
    headers.first();
    for (int h = 0; h < headers.recordCount(); ++h) {
        if (h > 0)
            headers.next();
        onHeader(headers);
        lines.first();
        for (int l = 0; l < lines.recordCount(); ++l) {
            if (l > 0)
                lines.next();
            onLine(lines);
        }
    }
    headers.first();
}

}  // namespace

json tablesToJson(ProgramStore& store) {
    json programs = json::array();
    walk(
        store,
        [&](Table& headers) {
            json program = rowToJson(headers, dumpedHeaderFields());
            program["lines"] = json::array();
            programs.push_back(std::move(program));
        },
        [&](Table& lines) {
            programs.back()["lines"].push_back(rowToJson(lines, dumpedLineFields()));
        });
    return json{{"programs", std::move(programs)}};
}

std::string tablesToText(ProgramStore& store) {
    std::ostringstream out;
    walk(
        store,
        [&](Table& headers) {
            out << "Программа " << headers.asText(hdr::ProgNum) << ":";
            rowToText(out, headers, dumpedHeaderFields());
            out << '\n';
        },
        [&](Table& lines) {
            out << "  Строка " << lines.asText(ln::StrNum) << ":";
            rowToText(out, lines, dumpedLineFields());
            out << '\n';
        });
    return out.str();
}

bool buildFromJson(ProgramStore& store, GridCommands& commands, HeadlessDesktop& desktop,
                   const json& document, std::string& error) {
    if (!document.is_object() || !document.contains("programs") ||
        !document["programs"].is_array()) {
        error = "в JSON нет массива \"programs\"";
        return false;
    }
    Table& headers = store.headers();
    Table& lines = store.lines();
    const std::string numberKey(fieldAt(FieldTable::Headers, hdr::ProgNum).jsonKey());
    for (const json& program : document["programs"]) {
        if (!program.is_object() || !program.contains(numberKey) ||
            !program[numberKey].is_number_integer()) {
            error = "у программы нет целого \"" + numberKey + "\"";
            return false;
        }
        const auto number = program[numberKey].get<long long>();
        if (program.contains("lines") && program["lines"].is_array() &&
            program["lines"].size() > static_cast<std::size_t>(kMaxProgramLines)) {
            error = "программа " + std::to_string(number) + ": строк " +
                    std::to_string(program["lines"].size()) +
                    ", а в программе намотки может быть не больше " +
                    std::to_string(kMaxProgramLines);
            return false;
        }
        const int before = headers.recordCount();
        desktop.queueNewProgram({DialogAnswer::Create, number});
        desktop.focusGrid(Grid::Headers);
        commands.SpeedButton7Click();
        if (headers.recordCount() != before + 1) {
            error = "программа " + std::to_string(number) + " не создана";
            return false;
        }
        const std::string where = "программа " + std::to_string(number);
        if (!takeGivenFields(headers, FieldTable::Headers, program, where, error))
            return false;
        headers.post();
        if (!program.contains("lines"))
            continue;
        if (!program["lines"].is_array()) {
            error = "\"lines\" программы " + std::to_string(number) + " не массив";
            return false;
        }
        for (const json& line : program["lines"]) {
            const int count = lines.recordCount();
            desktop.focusGrid(Grid::Lines);
            commands.SpeedButton7Click();
            if (lines.recordCount() != count + 1) {
                error = "строка программы " + std::to_string(number) + " не создана";
                return false;
            }
            if (!line.is_object())
                continue;
            const std::string where =
                "программа " + std::to_string(number) + ", строка " + std::to_string(count + 1);
            if (!takeGivenFields(lines, FieldTable::Lines, line, where, error))
                return false;
            lines.post();
        }
    }
    return true;
}

}  // namespace tal
