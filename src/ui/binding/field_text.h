#pragma once

#include <QString>

#include "store/table.h"

namespace tal {

// A field value as the windows show it: reals with `significantDigits` and the decimal comma,
// everything else as its text; an empty value as an empty text.
QString fieldText(const Value& value, FieldType type, int significantDigits = 15);

// The value of `field` in the table's current row as shown; empty without a current row.
QString currentFieldText(const Table& table, int field, int significantDigits = 15);

// Whether `change` may alter what a control bound to `field` of the current row shows.
bool touchesCurrentField(const Table& table, const TableChange& change, int field);

}  // namespace tal
