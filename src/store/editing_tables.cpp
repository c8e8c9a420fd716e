#include "store/editing_tables.h"

namespace tal {

std::unique_ptr<Table> makeHeaderTable() {
    using T = FieldType;
    return std::make_unique<Table>("talp",
                                   std::vector<FieldDef>{{"Key", T::AutoInc},
                                                         {"ProgNum", T::SmallInt},
                                                         {"Param 01", T::String, 6},
                                                         {"Param 02", T::Float},
                                                         {"Param 03", T::String, 12},
                                                         {"Param 04", T::SmallInt},
                                                         {"Param 05", T::SmallInt},
                                                         {"Param 06", T::SmallInt},
                                                         {"Param 07", T::SmallInt},
                                                         {"ProgSize", T::SmallInt},
                                                         {"NextStr", T::SmallInt},
                                                         {"CurStr", T::SmallInt},
                                                         {"Remark", T::String, kRemarkLength}},
                                   std::vector<std::string>{"ProgNum"});
}

std::unique_ptr<Table> makeLineTable() {
    using T = FieldType;
    return std::make_unique<Table>(
        "tals",
        std::vector<FieldDef>{
            {"Key", T::AutoInc},       {"ProgNum", T::SmallInt},   {"Param 1", T::Integer},
            {"Param 2", T::Integer},   {"Param 3", T::String, 10}, {"Param 4", T::Integer},
            {"Param 5", T::String, 6}, {"Param 6", T::Float},      {"Param 7", T::Float},
            {"Param 8", T::Float},     {"Param 9", T::String, 3},  {"Param 10", T::SmallInt},
            {"Param 11", T::Float},    {"Param 12", T::String, 3}, {"Param 13", T::String, 10},
            {"Param 14", T::SmallInt}, {"Param 15", T::Float},     {"Param 16", T::SmallInt},
            {"Param 17", T::SmallInt}, {"Param 18", T::Float},     {"Param 19", T::String, 8},
            {"PredStr", T::SmallInt},  {"NextStr", T::SmallInt},   {"CurStr", T::SmallInt},
            {"StrNum", T::SmallInt}},
        std::vector<std::string>{"ProgNum", "StrNum"});
}

}  // namespace tal
