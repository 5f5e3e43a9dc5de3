// The one place that knows how a text is cut into lines. CR LF, a lone LF and
// a lone CR each end one line; LF CR and CR CR LF are two line ends with an
// empty line between them. A final line without a line end is still a line, a
// line end at the very end does not start another one, and an empty text has
// no lines. Every other byte, NUL included, belongs to its line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace vemra {

// Calls on_line(std::string_view) once per line of text, in order, with a view
// into text that excludes the line end.
//
// Fast path: the next CR and the next LF are each found with memchr and
// remembered until the scan passes them, so every byte is looked at by at most
// two vectorised scans however the line ends are mixed (a text with only CR
// line ends does not rescan for LF at every line).
template <typename F>
void ForEachLine(std::string_view text, F on_line) {
  const char* const end = text.data() + text.size();
  const char* next_cr = nullptr;  // next CR at or after pos, or end
  const char* next_lf = nullptr;  // next LF at or after pos, or end
  const auto find = [end](const char* from, char byte) {
    const void* hit = std::memchr(from, byte, static_cast<std::size_t>(end - from));
    return hit != nullptr ? static_cast<const char*>(hit) : end;
  };
  const char* pos = text.data();
  while (pos < end) {
    if (next_cr == nullptr || next_cr < pos) next_cr = find(pos, '\r');
    if (next_lf == nullptr || next_lf < pos) next_lf = find(pos, '\n');
    const char* line_end = next_cr < next_lf ? next_cr : next_lf;
    on_line(std::string_view(pos, static_cast<std::size_t>(line_end - pos)));
    pos = line_end;
    if (pos < end && *pos == '\r') ++pos;
    if (pos < end && *pos == '\n') ++pos;
  }
}

// The same lines as ForEachLine, handed to on_line from the last to the
// first. A line's end is recognised from its last bytes: an LF right after a
// CR is always one CR LF line end, since a CR always ends a line. The
// previous CR and LF are each found with memrchr and remembered until the
// scan passes them, so every byte is looked at by at most two scans. on_line
// may change the text from the start of the line it is given onwards.
template <typename F>
void ForEachLineBackward(std::string_view text, F on_line) {
  using Offset = std::ptrdiff_t;  // -1: no such byte
  const char* const data = text.data();
  const auto find_back = [data](Offset before, char byte) -> Offset {
    const void* hit = memrchr(data, byte, static_cast<std::size_t>(before));
    return hit != nullptr ? static_cast<const char*>(hit) - data : -1;
  };
  Offset last_cr = -2;            // last CR before the current line end; -2 until first looked for
  Offset last_lf = -2;            // the same for LF
  Offset pos = std::ssize(text);  // just behind the line end of the next line to give
  while (pos > 0) {
    Offset line_end = pos;
    if (data[pos - 1] == '\n') {
      line_end = pos >= 2 && data[pos - 2] == '\r' ? pos - 2 : pos - 1;
    } else if (data[pos - 1] == '\r') {
      line_end = pos - 1;
    }
    if (last_cr == -2 || last_cr >= line_end) last_cr = find_back(line_end, '\r');
    if (last_lf == -2 || last_lf >= line_end) last_lf = find_back(line_end, '\n');
    pos = std::max(last_cr, last_lf) + 1;
    on_line(std::string_view(data + pos, static_cast<std::size_t>(line_end - pos)));
  }
}

}  // namespace vemra
