#include "textutil/find_from.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vemra {

// Scans for the pattern's first byte with memchr and compares the rest only
// at those candidates, last byte to second.
std::int32_t FindFrom(std::string_view text, std::string_view pattern, std::int32_t start) {
  if (text.empty() || pattern.empty() || start <= 0) return 0;
  // Positions are 32-bit: a longer text is searched in its first 2 GiB only.
  const std::size_t length =
      std::min<std::size_t>(text.size(), std::numeric_limits<std::int32_t>::max());
  const auto first = static_cast<std::size_t>(start) - 1;
  if (first >= length || pattern.size() > length - first) return 0;
  const char* const base = text.data();
  const char* const last_candidate = base + (length - pattern.size());
  const char* candidate = base + first;
  while (candidate <= last_candidate) {
    const void* hit = std::memchr(candidate, pattern.front(),
                                  static_cast<std::size_t>(last_candidate - candidate) + 1);
    if (hit == nullptr) return 0;
    candidate = static_cast<const char*>(hit);
    std::size_t i = pattern.size() - 1;
    while (i > 0 && candidate[i] == pattern[i]) --i;
    if (i == 0) return static_cast<std::int32_t>(candidate - base) + 1;
    ++candidate;
  }
  return 0;
}

}  // namespace vemra
