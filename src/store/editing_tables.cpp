#include "store/editing_tables.h"

#include "store/field_catalogue.h"

namespace tal {
namespace {

std::vector<FieldDef> definitionsOf(FieldTable table) {
    std::vector<FieldDef> fields;
    for (const FieldEntry& field : fieldsOf(table))
        fields.push_back(field.definition());
    return fields;
}

}  // namespace

std::unique_ptr<Table> makeHeaderTable() {
    return std::make_unique<Table>("talp", definitionsOf(FieldTable::Headers),
                                   std::vector<std::string>{"ProgNum"});
}

std::unique_ptr<Table> makeLineTable() {
    return std::make_unique<Table>("tals", definitionsOf(FieldTable::Lines),
                                   std::vector<std::string>{"ProgNum", "StrNum"});
}

}  // namespace tal
