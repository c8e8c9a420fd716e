#pragma once

#include <QString>

#include <string>

namespace tal {

// File names cross between Qt and the core as the system spells them, byte for byte: a name that
// is not UTF-8 would otherwise become U+FFFD and name no file.

// The system's bytes of a name Qt shows. Qt cannot hold the bytes of a name that is not UTF-8;
// such a name is looked up among the entries of its folder, whose bytes are known.
std::string systemFileName(const QString& name);
// A name in the system's bytes as Qt shows it.
QString shownFileName(const std::string& name);

}  // namespace tal
