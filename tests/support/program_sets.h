#pragma once

namespace tal::test {

// Two working files' programs, in the JSON the command-line tool builds from: A has a program
// with lines and one without, B a single program.
inline constexpr const char* kProgramsA =
    R"({"programs":[{"ProgNum":3,"Remark":"первая","lines":[{"Param 1":10},{"Param 1":20}]},
                    {"ProgNum":7,"Remark":"вторая","lines":[]}]})";
inline constexpr const char* kProgramsB = R"({"programs":[{"ProgNum":5,"lines":[{"Param 1":1}]}]})";

}  // namespace tal::test
