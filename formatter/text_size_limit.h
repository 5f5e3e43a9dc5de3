// The largest text the formatter builds: every intermediate and final text
// must stay within the 32-bit signed positions the rest of the program uses.
#pragma once

#include <cstdint>

namespace vemra {

inline constexpr std::int64_t kMaxTextSize = 2147483647;
// The largest text the layout reads: a file of the largest size with the
// line end added that its last line lacks. Only what the layout makes of
// it must stay within kMaxTextSize.
inline constexpr std::int64_t kMaxSourceSize = kMaxTextSize + 2;

[[noreturn]] void ThrowTextTooLarge();

// Throws ETextTooLarge when a text of the given size would pass
// kMaxTextSize. Called before a text grows, so nothing is allocated for a
// result that cannot be kept. Inline: the layout checks every line.
inline void CheckTextSize(std::int64_t size) {
  if (size > kMaxTextSize) [[unlikely]]
    ThrowTextTooLarge();
}

// Throws ETextTooLarge for a text to lay out larger than kMaxSourceSize.
inline void CheckSourceSize(std::int64_t size) {
  if (size > kMaxSourceSize) [[unlikely]]
    ThrowTextTooLarge();
}

}  // namespace vemra
