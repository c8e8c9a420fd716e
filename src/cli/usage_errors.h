#pragma once

#include <string>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace tal {

// The command line's mistakes in Russian, as every other message of `tal`: "не указан
// обязательный аргумент IMAGE".
std::string usageErrorText(const CLI::ParseError& error);

// The help of `app` and its subcommands in Russian: their labels and the help flag.
void useRussianHelp(CLI::App& app);

}  // namespace tal
