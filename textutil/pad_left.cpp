#include "textutil/pad_left.h"

namespace vemra {

std::string RepeatChar(char c, std::int32_t count) {
  return count > 0 ? std::string(static_cast<std::size_t>(count), c) : std::string();
}

void PadLeft(std::string& text, char c, std::int32_t width) {
  if (width <= 0 || text.size() >= static_cast<std::size_t>(width)) return;
  text.insert(0, static_cast<std::size_t>(width) - text.size(), c);
}

}  // namespace vemra
