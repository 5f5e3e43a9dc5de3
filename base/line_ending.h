// The line end a saved text puts after every line: CR LF, as ever, or LF for
// projects whose files end their lines that way. Whatever the choice, a text
// is still read with CR LF, LF and CR each ending a line (line_breaks.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemra {

enum class LineEnding : std::uint8_t { kCrLf, kLf };

// The bytes of the line end.
constexpr std::string_view LineEndBytes(LineEnding ending) {
  return ending == LineEnding::kLf ? std::string_view("\n") : std::string_view("\r\n");
}

// The line end that keeps a loaded text's own: that of its first line. LF
// when the first line ends in a lone LF; CR LF when it ends in CR LF or a
// lone CR, and for a text without any line end.
LineEnding KeptLineEnding(std::string_view text);

// Turns a text whose every line ends in CR LF, and which holds no other CR,
// into the same lines ending in LF: every CR is dropped.
void CrLfToLf(std::string& text);

}  // namespace vemra
