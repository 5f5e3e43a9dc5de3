// How one text's lines became another's, as stretches of changed lines, and
// the text that takes only some of those changes. Formatting edits and
// formatting of chosen lines both stand on this.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vemra {

// The lines of a text, each with its line end (CR LF, LF or CR); the last
// line has none when the text does not end in one. An empty text has no
// lines.
std::vector<std::string_view> SplitKeepingLineEnds(std::string_view text);

// Old lines [old_begin, old_end) were replaced by new lines [new_begin,
// new_end); either side may be empty, not both.
struct LineStretch {
  std::size_t old_begin = 0;
  std::size_t old_end = 0;
  std::size_t new_begin = 0;
  std::size_t new_end = 0;

  bool OneToOne() const { return old_end - old_begin == new_end - new_begin; }
  bool operator==(const LineStretch&) const = default;
};

// The stretches, in order, that turn old_lines into new_lines. Lines are
// paired by their text without blanks, so that a re-indented or re-spaced
// line stands against the line it came from, and a stretch of such lines
// pairs its old and new lines one to one; only lines whose bytes differ
// are in a stretch. Lines found once in each text anchor the pairing; the
// gaps between them go through a line diff, or, where that would take
// more than about max_work steps, a linear walk that may give longer
// stretches than the shortest.
std::vector<LineStretch> ChangedStretches(const std::vector<std::string_view>& old_lines,
                                          const std::vector<std::string_view>& new_lines,
                                          std::size_t max_work = 2'000'000);

// Old lines [begin, end), 0-based.
struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The stretches restricted to the spans: of a one-to-one stretch, the lines
// inside a span; any other stretch whole, when it touches a span (an
// insertion touches the spans that hold or border its place).
std::vector<LineStretch> StretchesWithin(const std::vector<LineStretch>& stretches,
                                         const std::vector<LineSpan>& spans);

// The old text with the stretches' new lines in place of their old ones.
std::string ApplyStretches(const std::vector<std::string_view>& old_lines,
                           const std::vector<std::string_view>& new_lines,
                           const std::vector<LineStretch>& stretches);

}  // namespace vemra
