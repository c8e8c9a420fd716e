#pragma once

#include <optional>
#include <string>

#include "editor/typed_text.h"
#include "editor/value.h"
#include "store/field_catalogue.h"

namespace tal {

// What a field's place in the memory image (or, for the remark, the remarks file) can hold, so
// that a value is refused before it is written rather than stored as another one.

// The numbers a numeric field's bytes hold (a scaled field: multiples of 1 / scale); nothing for
// a field that is no number of the image (a choice, a text, a slot number, ProgNum).
std::optional<ValueRange> imageRange(const FieldEntry& field);

// Why the image cannot hold `v` in `field`: a number outside its range or finer than its scale,
// a choice text that is none of the field's, a text longer than the field or one that Windows-1251
// cannot hold. Nothing when it fits; the empty value always does.
std::optional<std::string> imageRefusal(const FieldEntry& field, const Value& v);

}  // namespace tal
