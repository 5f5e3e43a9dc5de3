#include "base/line_ending.h"

#include <cstring>

#include "base/line_breaks.h"

namespace vemra {

LineEnding KeptLineEnding(std::string_view text) {
  const char* const end = text.data() + text.size();
  const char* const line_end = line_breaks_detail::FindBreak(text.data(), end);
  return line_end != end && *line_end == '\n' ? LineEnding::kLf : LineEnding::kCrLf;
}

// The CRs are one every line, so hopping from one to the next with memchr
// and moving the line in front of it down costs a call and a copy a line.
void CrLfToLf(std::string& text) {
  char* const base = text.data();
  const std::size_t size = text.size();
  const void* found = std::memchr(base, '\r', size);
  if (found == nullptr) return;
  std::size_t written = static_cast<std::size_t>(static_cast<const char*>(found) - base);
  std::size_t at = written + 1;
  while (at < size) {
    found = std::memchr(base + at, '\r', size - at);
    const std::size_t stop =
        found == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(found) - base);
    std::memmove(base + written, base + at, stop - at);
    written += stop - at;
    at = stop + 1;
  }
  text.resize(written);
}

}  // namespace vemra
