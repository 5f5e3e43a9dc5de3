// What a cutter hands the layout for each token it cuts ahead.
#pragma once

#include <cstdint>
#include <string_view>

#include "formatter/char_classes.h"

namespace vemra {

// A token as cut, and the rule that cut it. A line end is the two bytes
// of kLineEndTokens.
struct CutTokenRecord {
  const char* data;
  std::uint32_t size;
  TokenRule rule;

  std::string_view View() const { return {data, size}; }
};

}  // namespace vemra
