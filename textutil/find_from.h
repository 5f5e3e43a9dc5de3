#pragma once

#include <cstdint>
#include <string_view>

namespace vemra {

// 1-based position of the first occurrence of pattern in text that begins at
// or after start; 0 when there is none (also for an empty text or pattern and
// for a start outside the text).
std::int32_t FindFrom(std::string_view text, std::string_view pattern, std::int32_t start);

}  // namespace vemra
