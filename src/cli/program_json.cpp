#include "cli/program_json.h"

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
        for (int k = 1; k <= 7; ++k) {
            const auto key = headers.fields()[hdr::param(k)].name;
            if (program.contains(key))
                headers.setValue(hdr::param(k), fromJson(program[key]));
        }
        if (program.contains("Remark"))
            headers.setValue(hdr::Remark, fromJson(program["Remark"]));
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
            for (int k = 1; k <= 19; ++k) {
                const auto key = lines.fields()[ln::param(k)].name;
                if (line.contains(key))
                    lines.setValue(ln::param(k), fromJson(line[key]));
            }
            lines.post();
        }
    }
    return true;
}

}  // namespace tal
