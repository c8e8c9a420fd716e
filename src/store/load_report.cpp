#include "store/load_report.h"

#include <algorithm>

namespace tal {
namespace {

// A message box of hundreds of lines helps nobody: the first few say what kind of damage it is.
constexpr std::size_t kFindingsShown = 5;
constexpr std::size_t kNumbersShown = 10;

template <typename T, typename Format>
std::string listOf(const std::vector<T>& items, Format format) {
    std::string list;
    for (std::size_t i = 0; i < items.size() && i < kNumbersShown; ++i)
        list += (i == 0 ? "" : ", ") + format(items[i]);
    if (items.size() > kNumbersShown)
        list += " и ещё " + std::to_string(items.size() - kNumbersShown);
    return list;
}

std::string number(int n) {
    return std::to_string(n);
}

}  // namespace

std::string summarizeFindings(const std::vector<std::string>& findings, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < findings.size() && i < shown; ++i)
        text += findings[i] + "\n";
    if (findings.size() > shown)
        text += "… и ещё " + std::to_string(findings.size() - shown) + "\n";
    return text;
}

std::string loadReportMessage(const LoadReport& report) {
    if (report.clean())
        return {};
    std::string text =
        "Образ памяти записан с ошибками (нарушений: " + std::to_string(report.findings.size()) +
        "):\n" + summarizeFindings(report.findings, kFindingsShown);
    if (report.unmarked)
        text +=
            "Ни один слот не хранит свой номер: это не образ памяти программ (стёртая память "
            "или чужой файл).\n";
    if (!report.skippedPrograms.empty()) {
        std::vector<int> numbers = report.skippedPrograms;
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        text += "Не загружены программы без заглавного слота: " + listOf(numbers, number);
        if (numbers.size() != report.skippedPrograms.size())
            text += " (записей каталога: " + std::to_string(report.skippedPrograms.size()) + ")";
        text += ".\n";
    }
    if (!report.renumberedPrograms.empty())
        text +=
            "Номера, записанные в каталоге повторно, заменены свободными: " +
            listOf(report.renumberedPrograms,
                   [](const std::pair<int, int>& change) {
                       return std::to_string(change.first) + " → " + std::to_string(change.second);
                   }) +
            ".\n";
    if (!report.damagedPrograms.empty())
        text += "Не полностью прочитаны программы: " + listOf(report.damagedPrograms, number) +
                " (цепочка строк оборвана, замкнута или заходит в чужую программу).\n";
    return text + "Прочитанное загружено.";
}

}  // namespace tal
