// The options of a formatting run, as FormatSource takes them.
#pragma once

#include <cstdint>

#include "base/line_ending.h"

namespace vemra {

struct FormatOptions {
  std::int32_t TabWidth = 2;
  bool UseTabs = false;
  bool CollapseBlankLines = true;
  LineEnding line_ending = LineEnding::kCrLf;  // written after every line
};

}  // namespace vemra
