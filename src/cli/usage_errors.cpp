#include "cli/usage_errors.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>

namespace tal {
namespace {

// `message` without `suffix` when it ends with it; nothing otherwise.
std::optional<std::string> before(const std::string& message, std::string_view suffix) {
    if (message.size() < suffix.size() ||
        message.compare(message.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    return message.substr(0, message.size() - suffix.size());
}

// The text after the first ": ", or the whole message.
std::string detail(const std::string& message) {
    const auto colon = message.find(": ");
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

// The text before the first ": ", or the whole message.
std::string subject(const std::string& message) {
    return message.substr(0, message.find(": "));
}

}  // namespace

std::string usageErrorText(const CLI::ParseError& error) {
    const std::string message = error.what();
    const std::string kind = error.get_name();
    if (kind == "RequiredError") {
        if (message.rfind("A subcommand", 0) == 0)
            return "не указана команда: init, blank, dump, resave, build, check, hex, unhex или "
                   "verify";
        if (const auto name = before(message, " is required"))
            return "не указан обязательный аргумент " + *name;
    } else if (kind == "ExtrasError" || message.rfind("The following argument", 0) == 0) {
        return "лишние аргументы: " + detail(message);
    } else if (kind == "RequiresError") {
        const auto at = message.find(" requires ");
        if (at != std::string::npos)
            return "параметр " + message.substr(0, at) + " задаётся только вместе с " +
                   message.substr(at + 10);
    } else if (kind == "ArgumentMismatch") {
        return "у параметра " + subject(message) + " нет значения или их слишком много";
    } else if (kind == "ValidationError") {
        return "недопустимое значение параметра " + subject(message) + ": нужно " + detail(message);
    } else if (kind == "ConversionError") {
        return "недопустимое значение параметра " + subject(message);
    }
    return "ошибка в командной строке (" + message + ")";
}

void useRussianHelp(CLI::App& app) {
    auto formatter = app.get_formatter();
    formatter->label("Usage", "Использование");
    formatter->label("OPTIONS", "ПАРАМЕТРЫ");
    formatter->label("SUBCOMMAND", "КОМАНДА");
    formatter->label("SUBCOMMANDS", "КОМАНДЫ");
    formatter->label("Options", "Параметры");
    formatter->label("Positionals", "Аргументы");
    formatter->label("Subcommands", "Команды");
    formatter->label("REQUIRED", "ОБЯЗАТЕЛЕН");
    formatter->label("TEXT", "ТЕКСТ");
    formatter->label("Needs", "Нужен");
    app.set_help_flag("-h,--help", "Показать справку и выйти");
    for (CLI::App* sub : app.get_subcommands({}))
        sub->set_help_flag("-h,--help", "Показать справку и выйти");
}

}  // namespace tal
