#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/desktop.h"
#include "store/memory_image.h"
#include "store/table.h"

namespace tal {

// The one place that knows each field of the two editing tables: its definition, where the
// memory image holds it, how the grids and the edit window show it, how it is checked and how
// `tal` names it. Every other list of fields is read from here.

enum class FieldTable { Headers /* Table0, talp */, Lines /* Table1, tals */ };

// How the slot codec moves a field between its slot and the row.
enum class SlotCode {
    None,        // not in the slot: Key, ProgNum, StrNum, Remark, a header's CurStr
    Byte,        // unsigned 8 bits
    Word,        // unsigned 16 bits, big-endian
    SlotWord,    // a slot number: 16 bits, big-endian, kept as the smallint's 16 bits
    ScaledByte,  // 8 bits holding value × scale
    ScaledWord,  // 16 bits holding value × scale
    Bits,        // the index of a choice text: one bit, two for a four-way choice
    NonZeroBit,  // one bit, 1 for any non-zero value
};

struct SlotPosition {
    SlotCode code = SlotCode::None;
    int offset = 0;                  // byte in the slot
    int bit = 0;                     // lowest bit, for Bits and NonZeroBit
    int scale = 1;                   // for the scaled codes
    const Choice* choice = nullptr;  // for Bits: the texts by stored index
};

// A column of the main window's grid; an empty title means the grid does not show the field.
struct GridPlace {
    std::string_view title{};
    int width = 0;               // pixels; 0 keeps the grid's default width
    int significantDigits = 15;  // for float fields
};

// The field's control in the edit window.
struct EditPlace {
    std::optional<Control> control{};  // none: the window does not show the field
    // The caption of the control's frame or radio group, or the label beside a DBText. Two
    // edits may share a frame; each then has a label of its own.
    std::string_view caption{};
    std::string_view label{};
    int maxLength = 0;  // characters an edit takes
    // Of a radio group: the caption shown for each choice text, by stored index, and how many
    // columns the items take.
    std::array<std::string_view, 4> choiceCaptions{};
    int columns = 0;
};

enum class BoundRule {
    Limits,           // MinValue..MaxValue
    LowerIsParam6,    // Param 7: the line's Param 6..MaxValue
    UpperIsProgSize,  // Param 17: MinValue..ProgSize, ProgSize excluded
};

// The precision of a real field: values are multiples of 1/multiplier.
struct PrecisionStep {
    int multiplier = 0;  // 100 for the step 0.01
    std::string_view message{};
};

inline constexpr PrecisionStep kStep001{100, "Максимальная точность 0,01"};
inline constexpr PrecisionStep kStep0001{1000, "Максимальная точность 0,001"};
inline constexpr PrecisionStep kStep01{10, "Максимальная точность 0,1"};

// The check a value assigned to the field passes against the limits of the machine model.
struct FieldCheckSpec {
    std::string_view handler{};  // "Table0Param02Validate"; empty: the field is not checked
    BoundRule bounds = BoundRule::Limits;
    PrecisionStep step{};  // real fields only
};

// What the JSON of `tal dump` and `tal build` does with a field; its key is the field's name.
enum class JsonRole {
    None,      // left out: Key, and a line's ProgNum, which its program holds
    Number,    // the row's number, written first: a program's ProgNum (build creates the program
               // under it), a line's StrNum (build numbers lines itself)
    Computed,  // written; `tal build` computes it
    Given,     // written; `tal build` takes it
};

struct FieldEntry {
    std::string_view name;  // as in the tables, TALC and the JSON: "Param 02"
    FieldTable table;
    int index;  // position in its table: hdr:: or ln::
    FieldType type;
    int size = 0;  // characters, for String
    SlotPosition slot{};
    GridPlace grid{};
    EditPlace edit{};
    FieldCheckSpec check{};
    JsonRole json = JsonRole::Given;

    constexpr bool isChecked() const { return !check.handler.empty(); }
    constexpr bool isReal() const { return type == FieldType::Float; }
    constexpr bool isChoice() const { return slot.code == SlotCode::Bits; }
    constexpr bool isGridColumn() const { return !grid.title.empty(); }
    constexpr std::string_view jsonKey() const { return name; }
    FieldDef definition() const { return {std::string(name), type, size}; }
};

// Every field of both tables: the header table's in its order, then the line table's.
std::span<const FieldEntry> fieldCatalogue();
// The fields of one table in its order; entry i has index i.
std::span<const FieldEntry> fieldsOf(FieldTable table);
// The sixteen checked fields in the order their hints are set: the header's, then the line's.
std::span<const FieldEntry* const> checkedFields();

// How the operator knows the field: its caption in the edit window, with the label beside its
// edit when two edits share a frame ("Координата, мм — конца катушки").
std::string fieldCaption(const FieldEntry& field);

const FieldEntry& fieldAt(FieldTable table, int index);
const FieldEntry* findField(FieldTable table, std::string_view name);
const FieldEntry* findField(Control control);

}  // namespace tal
