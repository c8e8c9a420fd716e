#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace tal {

class GridCommands;
class ProgramStore;
class HeadlessDesktop;

// The tables as {"programs": [...]}, headers in table order with their lines.
nlohmann::ordered_json tablesToJson(ProgramStore& store);
// The same as readable text, one row a line.
std::string tablesToText(ProgramStore& store);

// Creates the programs of `document` in array order through the editor's own insert
// bookkeeping; false, with `error` set, when the document cannot be built.
bool buildFromJson(ProgramStore& store, GridCommands& commands, HeadlessDesktop& desktop,
                   const nlohmann::ordered_json& document, std::string& error);

}  // namespace tal
