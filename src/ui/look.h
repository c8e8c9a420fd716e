#pragma once

#include <QFont>

namespace tal {

// The editor's font at a character height in pixels: the classic dialog font where it exists,
// a narrow sans serif elsewhere.
QFont windowFont(int pixelSize);

}  // namespace tal
