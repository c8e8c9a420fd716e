#include "device/export_limits_question.h"

#include <algorithm>
#include <vector>

#include "limits/limits_table.h"
#include "limits/stored_values_check.h"

namespace tal {
namespace {

constexpr const char* kAskToGoOn = "\n\nЭкспортировать всё равно?";

// As the edit window shows it: reals with the decimal comma.
std::string shown(const Value& value) {
    std::string text = value.asText();
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string findingLine(const ValueFinding& finding) {
    std::string line =
        "программа " + std::to_string(finding.program) + ", " +
        (finding.line == 0 ? std::string("заголовок") : "строка " + std::to_string(finding.line)) +
        ", «" + finding.caption + "» = " + shown(finding.value);
    if (!finding.message.empty())
        line += ": " + finding.message;
    return line;
}

std::string question(const std::vector<ValueFinding>& findings, const std::string& model) {
    std::string text =
        "Значения вне пределов модели " + model + ": " + std::to_string(findings.size()) + "\n";
    const std::size_t listed = std::min(findings.size(), kListedFindings);
    for (std::size_t i = 0; i < listed; ++i) {
        text += '\n';
        text += findingLine(findings[i]);
    }
    if (findings.size() > listed)
        text += "\nи ещё " + std::to_string(findings.size() - listed);
    return text + kAskToGoOn;
}

}  // namespace

std::optional<std::string> exportLimitsQuestion(ProgramStore& store, LimitsTable& limits,
                                                const std::string& model) {
    std::vector<ValueFinding> findings;
    try {
        limits.Open();
        if (!limits.hasModel(model))
            return "Значения не проверены: в таблице пределов нет модели «" + model + "»." +
                   kAskToGoOn;
        findings = checkStoredValues(store, limits, model);
    } catch (const EngineError& e) {
        return "Значения не проверены: " + std::string(e.what()) + kAskToGoOn;
    }
    if (findings.empty())
        return std::nullopt;
    return question(findings, model);
}

}  // namespace tal
