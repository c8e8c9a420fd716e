#pragma once

#include <vector>

#include "editor/image.h"
#include "editor/value.h"

namespace tal {

class Table;

// Moves the fields of a header or line slot between the image and a row (values in field order,
// read) or the current row of a table (written), with the encodings of the memory image.

// Param 01..07, ProgSize and NextStr of the header slot; not CurStr, not the own number.
void readHeaderSlot(const Image& image, int slot, std::vector<Value>& header);
void writeHeaderSlot(Image& image, int slot, const Table& headers);

// Param 1..19, PredStr, NextStr and CurStr of a line slot.
void readLineSlot(const Image& image, int slot, std::vector<Value>& line);
void writeLineSlot(Image& image, int slot, const Table& lines);

// The same from posted row `row` of the table (Table::storedValue), without moving its cursor.
void writeStoredHeaderSlot(Image& image, int slot, const Table& headers, int row);
void writeStoredLineSlot(Image& image, int slot, const Table& lines, int row);

}  // namespace tal
