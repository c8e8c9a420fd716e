#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tal {

// Texts are UTF-8 inside the editor and Windows-1251 in its files.

std::size_t utf8Length(std::string_view s);
// The first `characters` characters of s.
std::string utf8Truncate(std::string_view s, std::size_t characters);
// Upper-case folding of Latin and Cyrillic letters, for comparisons that ignore letter case.
std::string foldCase(std::string_view s);

// Every byte has a character, so decoding never fails.
std::string decodeCp1251(std::string_view bytes);
// Nothing when a character has no Windows-1251 byte.
std::optional<std::string> encodeCp1251(std::string_view utf8);
bool fitsCp1251(std::string_view utf8);

}  // namespace tal
