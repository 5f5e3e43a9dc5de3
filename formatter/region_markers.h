// The line comments that fence off a region the formatter leaves as it
// stood: "// vemrafmt: off" starts one, "// vemrafmt: on" ends it.
#pragma once

#include <string_view>

#include "formatter/output_text.h"

namespace vemra {

enum class RegionMarker { kNone, kOff, kOn };

// Which marker a line comment (a token that starts with "//") is: its text
// after the "//", without the blanks and TABs in front and the bytes of
// value 0x20 or lower behind, is "vemrafmt: off" or "vemrafmt: on" in any
// letter case. The comment is judged as it is saved, each TAB in it turned
// into unit (or left a TAB), so that a comment is a marker in the saved
// text exactly when it was one in the text formatted: a run over the saved
// text finds the same regions.
RegionMarker RegionMarkerOf(std::string_view line_comment, IndentUnit unit);

// False for nearly every line comment that is no marker, at the cost of a
// look at its two ends: a marker's first byte after the "//", past blanks
// and TABs, is a "v", and its last byte above 0x20 ends "off" or "on".
inline bool MayBeRegionMarker(std::string_view line_comment) {
  std::size_t first = 2;
  while (first < line_comment.size() && (line_comment[first] == ' ' || line_comment[first] == '\t'))
    ++first;
  if (first == line_comment.size() || (line_comment[first] | 0x20) != 'v') return false;
  std::size_t end = line_comment.size();
  while (static_cast<unsigned char>(line_comment[end - 1]) <= 0x20) --end;
  const char last = static_cast<char>(line_comment[end - 1] | 0x20);
  return last == 'f' || last == 'n';
}

}  // namespace vemra
