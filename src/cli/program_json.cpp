#include "cli/program_json.h"

#include <limits>
#include <sstream>

#include "cli/headless_desktop.h"
#include "store/editing_tables.h"
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

const char* kHeaderKeys[] = {"ProgNum",  "Param 01", "Param 02", "Param 03", "Param 04", "Param 05",
                             "Param 06", "Param 07", "ProgSize", "NextStr",  "CurStr",   "Remark"};

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

std::string lineFieldName(int field, const Table& lines) {
    return lines.fields()[field].name;
}

// Assigns the JSON value of `field` when `object` has it; false, with `error` naming `where` and
// the engine's refusal, when the field does not take it.
bool assignFromJson(Table& table, int field, const json& object, const std::string& where,
                    std::string& error) {
    const std::string& key = table.fields()[field].name;
    if (!object.contains(key))
        return true;
    try {
        table.setValue(field, fromJson(object[key]));
    } catch (const std::runtime_error& e) {  // an engine error, or a check's refusal
        error = where + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace

json tablesToJson(ProgramStore& store) {
    json programs = json::array();
    walk(
        store,
        [&](Table& headers) {
            json program = json::object();
            for (const char* key : kHeaderKeys)
                program[key] = toJson(headers.value(key));
            program["lines"] = json::array();
            programs.push_back(std::move(program));
        },
        [&](Table& lines) {
            json line = json::object();
            line["StrNum"] = toJson(lines.value(ln::StrNum));
            for (int k = 1; k <= 19; ++k)
                line[lineFieldName(ln::param(k), lines)] = toJson(lines.value(ln::param(k)));
            for (int field : {int(ln::PredStr), int(ln::NextStr), int(ln::CurStr)})
                line[lineFieldName(field, lines)] = toJson(lines.value(field));
            programs.back()["lines"].push_back(std::move(line));
        });
    return json{{"programs", std::move(programs)}};
}

std::string tablesToText(ProgramStore& store) {
    std::ostringstream out;
    walk(
        store,
        [&](Table& headers) {
            out << "Программа " << headers.asText(hdr::ProgNum) << ":";
            for (int field = hdr::Param01; field <= hdr::CurStr; ++field)
                out << "  " << headers.fields()[field].name << "=" << headers.asText(field);
            out << "  Remark=\"" << headers.asText(hdr::Remark) << "\"\n";
        },
        [&](Table& lines) {
            out << "  Строка " << lines.asText(ln::StrNum) << ":";
            for (int field = ln::Param1; field <= ln::CurStr; ++field)
                out << "  " << lines.fields()[field].name << "=" << lines.asText(field);
            out << '\n';
        });
    return out.str();
}

bool buildFromJson(ProgramStore& store, HeadlessDesktop& desktop, const json& document,
                   std::string& error) {
    if (!document.is_object() || !document.contains("programs") ||
        !document["programs"].is_array()) {
        error = "в JSON нет массива \"programs\"";
        return false;
    }
    Table& headers = store.headers();
    Table& lines = store.lines();
    for (const json& program : document["programs"]) {
        if (!program.is_object() || !program.contains("ProgNum") ||
            !program["ProgNum"].is_number_integer()) {
            error = "у программы нет целого \"ProgNum\"";
            return false;
        }
        const auto number = program["ProgNum"].get<long long>();
        const int before = headers.recordCount();
        desktop.queueNewProgram({DialogAnswer::Create, number});
        desktop.focusGrid(Grid::Headers);
        store.SpeedButton7Click();
        if (headers.recordCount() != before + 1) {
            error = "программа " + std::to_string(number) + " не создана";
            return false;
        }
        const std::string where = "программа " + std::to_string(number);
        for (int k = 1; k <= 7; ++k)
            if (!assignFromJson(headers, hdr::param(k), program, where, error))
                return false;
        if (!assignFromJson(headers, hdr::Remark, program, where, error))
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
            store.SpeedButton7Click();
            if (lines.recordCount() != count + 1) {
                error = "строка программы " + std::to_string(number) + " не создана";
                return false;
            }
            if (!line.is_object())
                continue;
            const std::string where =
                "программа " + std::to_string(number) + ", строка " + std::to_string(count + 1);
            for (int k = 1; k <= 19; ++k)
                if (!assignFromJson(lines, ln::param(k), line, where, error))
                    return false;
            lines.post();
        }
    }
    return true;
}

}  // namespace tal
