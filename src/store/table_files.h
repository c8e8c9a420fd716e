#pragma once

#include <string>

namespace tal {

class Table;

// The header and line tables' files: talp.db and tals.db are SQLite databases holding their
// table's definition; talp.px, tals.px, talp.val and tals.val describe index and constraint.
inline constexpr const char* kTableFileNames[] = {"talp.db", "tals.db",  "talp.px",
                                                  "tals.px", "talp.val", "tals.val"};

// Writes the six files into `folder` (with or without a trailing separator); false on failure,
// with `error` saying what failed.
bool writeTableFiles(const std::string& folder, std::string& error);

// Throws EngineError unless `path` holds the definition of `table`.
void checkTableFile(const std::string& path, const Table& table);

}  // namespace tal
