// The inputs the benchmark measures, each generated deterministically when
// it is about to be measured.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vemra {

struct BenchInput {
  std::string_view name;         // short name, also what the filter matches
  std::string_view description;  // what the input is, for the table's legend
  std::string (*make)();         // generates the input's bytes
};

// Realistic programs of 1, 10 and 100 MB, token-dense ones of 10 and 100 MB,
// then every hostile shape.
std::span<const BenchInput> BenchInputs();

// Inputs of a gigabyte and more, up to the largest file the formatter
// takes, measured for their peak memory against the larger of input and
// result: a realistic program, and the shapes whose laid-out text or whose
// reading could outgrow both (runs of line ends, blanks and NUL bytes, one
// long comment, one long line, deep blocks indented with TABs).
std::span<const BenchInput> LargeInputs();

}  // namespace vemra
