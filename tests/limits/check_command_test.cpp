// `tal check --limits` against the edit window's own checks, on images built with `tal build`.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "limits/field_check.h"
#include "limits/stored_values_check.h"
#include "store/editing_tables.h"
#include "store/image_file.h"
#include "store/text.h"
#include "support/fake_desktop.h"
#include "support/limits_data.h"
#include "support/process.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"
#include "workbench/workbench.h"

namespace tal::test {
namespace {

using json = nlohmann::ordered_json;

// One program per variant, numbered by it; each has one line, so ProgSize is 2.
enum Variant { OnMin, OnMax, Inside, Below, Above, VariantCount };

const LimitsRecord& recordOf(const std::vector<LimitsRecord>& records, const std::string& model,
                             std::string_view field) {
    for (const auto& record : records)
        if (record.config == model && record.fieldName == field)
            return record;
    throw std::logic_error("no limits for " + std::string(field));
}

// The variant of a field's value; one step below a bound of 0 cannot be stored in the image, so
// that field stays inside instead.
double variantValue(const LimitsRecord& record, const FieldEntry& field, Variant variant) {
    const double step = field.isReal() ? 1.0 / field.check.step.multiplier : 1.0;
    const double k = field.isReal() ? field.check.step.multiplier : 1.0;
    const double min = *record.minValue, max = *record.maxValue;
    const double inside = std::round((min + max) / 2 * k) / k;
    switch (variant) {
        case OnMin:
            return min;
        case OnMax:
            return max;
        case Below:
            return min - step >= 0 ? std::round((min - step) * k) / k : inside;
        case Above:
            return std::round((max + step) * k) / k;
        default:
            return inside;
    }
}

json number(const FieldEntry& field, double v) {
    return field.isReal() ? json(v) : json(static_cast<std::int64_t>(v));
}

json programsFor(const std::vector<LimitsRecord>& records, const std::string& model,
                 int variants = VariantCount) {
    json programs = json::array();
    for (int v = 0; v < variants; ++v) {
        const auto variant = static_cast<Variant>(v);
        json program = {{"ProgNum", v}};
        json line = json::object();
        double param6 = 0;
        for (const FieldEntry* field : checkedFields()) {
            const auto& record = recordOf(records, model, field->name);
            double value = variantValue(record, *field, variant);
            if (field->name == "Param 6")
                param6 = value;
            if (field->check.bounds == BoundRule::LowerIsParam6 && variant != Above)
                value = variant == Below ? param6 - 0.01 : param6;
            if (field->check.bounds == BoundRule::UpperIsProgSize)
                value = variant == Above ? 2 : variant == OnMax ? 1 : 0;
            (field->table == FieldTable::Headers ? program : line)[std::string(field->name)] =
                number(*field, value);
        }
        program["lines"] = json::array({line});
        programs.push_back(program);
    }
    return {{"programs", programs}};
}

// What the edit window says when each stored value is typed again into its row.
std::vector<std::string> handlerRefusals(const std::string& image, const std::string& talc,
                                         const std::string& model) {
    FakeDesktop desktop;
    Workbench bench(desktop);
    bench.limits().setPath(talc);
    bench.limits().Open();
    bench.state().machineModel = model;
    EXPECT_EQ(readImageFile(image, bench.state().currentImage), ImageReadStatus::Ok);
    bench.store().LoadImage(image);
    Table& headers = bench.store().headers();
    Table& lines = bench.store().lines();
    std::vector<std::string> refusals;
    auto retype = [&](Table& table, const FieldEntry& field, int program, int line) {
        try {
            table.setValue(field.index, table.value(field.index));
        } catch (const ValidationError& e) {
            refusals.push_back(ValueFinding{.program = program,
                                            .line = line,
                                            .fieldName = std::string(field.name),
                                            .message = e.what(),
                                            .caption = fieldCaption(field),
                                            .value = table.value(field.index)}
                                   .text());
        }
        table.cancel();
    };
    for (headers.first(); !headers.eof(); headers.next()) {
        const int program = static_cast<int>(headers.asInteger(hdr::ProgNum));
        for (const FieldEntry* field : checkedFields())
            if (field->table == FieldTable::Headers)
                retype(headers, *field, program, 0);
        for (lines.first(); !lines.eof(); lines.next())
            for (const FieldEntry* field : checkedFields())
                if (field->table == FieldTable::Lines)
                    retype(lines, *field, program, static_cast<int>(lines.asInteger(ln::StrNum)));
    }
    return refusals;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CheckCommandTest : public ::testing::Test {
protected:
    CheckCommandTest() : records(deliveredLimits()) {
        EXPECT_EQ(runShell(cli + " init " + dir.path("")), 0);
    }

    std::string build(const std::string& name, const json& programs) {
        const std::string source = dir.path(name + ".json");
        std::ofstream(source) << programs.dump();
        const std::string image = dir.path(name + ".bin");
        EXPECT_EQ(runShell(cli + " build " + source + " -o " + image), 0);
        return image;
    }

    int check(const std::string& image, const std::string& model, std::string* out) {
        return runShell(cli + " check " + image + " --limits " + talc + " --model '" + model + "'",
                        out);
    }

    const std::string cli = TAL_CLI_PATH;
    TempFolder dir;
    const std::string talc = dir.path("TALC.DB");
    std::vector<LimitsRecord> records;
};

TEST_F(CheckCommandTest, RefusesExactlyWhatTheEditWindowRefuses) {
    const std::vector<std::string> models = {"ТАЛ-1", "ТАЛ-2"};
    for (const std::string& built : models) {
        const std::string image = build(built, programsFor(records, built));
        for (const std::string& model : models) {
            SCOPED_TRACE("image of " + built + " checked for " + model);
            std::string out;
            const int code = check(image, model, &out);
            const auto expected = handlerRefusals(image, talc, model);
            EXPECT_EQ(linesOf(out), expected);
            EXPECT_EQ(code, expected.empty() ? 0 : 1);
        }
    }
}

TEST_F(CheckCommandTest, BoundsAreInsideAndOneStepBeyondIsOutside) {
    for (const std::string model : {"ТАЛ-1", "ТАЛ-2"}) {
        SCOPED_TRACE(model);
        const std::string image = build(model, programsFor(records, model));
        std::map<int, std::set<std::string>> refused;  // program (variant) → fields
        for (const auto& text : handlerRefusals(image, talc, model)) {
            int program = -1;
            std::sscanf(text.c_str(), "программа %d", &program);
            const auto field = text.substr(text.find("Param"));
            refused[program].insert(field.substr(0, field.find(':')));
        }
        EXPECT_EQ(refused.count(OnMin) + refused.count(OnMax) + refused.count(Inside), 0u);
        std::set<std::string> all, belowStorable = {"Param 7"};
        for (const FieldEntry* field : checkedFields()) {
            all.insert(std::string(field->name));
            if (*recordOf(records, model, field->name).minValue > 0)
                belowStorable.insert(std::string(field->name));
        }
        EXPECT_EQ(refused[Above], all);
        EXPECT_EQ(refused[Below], belowStorable);

        std::string out;
        const std::string inLimits = build(model + "-in", programsFor(records, model, Below));
        EXPECT_EQ(check(inLimits, model, &out), 0);
        EXPECT_EQ(out, "");
    }
}

TEST_F(CheckCommandTest, AnUnknownModelChecksNothingAndSaysSo) {
    const std::string image = build("img", programsFor(records, "ТАЛ-1"));
    std::string out;
    EXPECT_EQ(runShell(cli + " check " + image + " --limits " + talc + " --model ТАЛ-9 2>&1", &out),
              1);
    EXPECT_NE(out.find("ТАЛ-9"), std::string::npos) << out;
    EXPECT_EQ(out.find("программа"), std::string::npos) << out;

    EXPECT_EQ(runShell(cli + " check " + image + " --limits " + dir.path("none.db") +
                           " --model ТАЛ-1 2>&1",
                       &out),
              1);
    EXPECT_NE(out.find("none.db"), std::string::npos) << out;
    EXPECT_EQ(runShell(cli + " check " + image + " --limits " + talc + " 2>/dev/null"), 2);
    EXPECT_EQ(runShell(cli + " check " + image), 0) << "without a model only the invariants count";
}

TEST_F(CheckCommandTest, ALongLimitsTextIsCutAndTheRowNamed) {
    const std::string image = build("img", programsFor(records, "ТАЛ-1"));
    std::size_t row = 0;
    while (records[row].config != "ТАЛ-1" || records[row].fieldName != "Param 02")
        ++row;
    records[row].message = "Значение за пределами, допустимо от 0 до 180 мм";
    writeLimits(talc, records);
    std::string out, err = dir.path("err.txt");
    EXPECT_EQ(
        runShell(cli + " check " + image + " --limits " + talc + " --model ТАЛ-1 2>" + err, &out),
        1);
    const std::string cut = utf8Truncate(records[row].message, kMessageLength);
    EXPECT_NE(out.find("Param 02: " + cut + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Param 2: "), std::string::npos) << "the other values are checked too";
    std::ifstream errFile(err);
    const std::string warnings((std::istreambuf_iterator<char>(errFile)), {});
    EXPECT_NE(warnings.find("запись Key=" + std::to_string(row + 1) + ": текст поля Message"),
              std::string::npos)
        << warnings;
}

}  // namespace
}  // namespace tal::test
