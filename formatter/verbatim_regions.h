// The regions a text fences off with "vemrafmt: off" and "vemrafmt: on"
// line comments (region_markers.h): their lines are saved as they stood,
// each with the chosen line end, while the layout still follows every token
// in them, so that what follows a region is laid out as if it had been
// formatted.
//
// A region holds the lines after the line of its "off" comment, up to the
// line of its "on" comment, or up to the end of the text when no "on"
// follows. Both comment lines are formatted. Regions do not nest: an "off"
// inside a region, and an "on" outside one, are ordinary comments.
//
// The layout meets the markers among its tokens and notes where their lines
// start in the laid-out text; the finishing pass then puts each region's
// lines, as they stood, in the place of the lines the layout made of them.
// A line here is a line of the laid-out text. Where a "#id" marker removed
// the line end in front of the "on" comment, the line that holds it starts
// at the line end before, and the tokens joined to it are formatted with it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "formatter/output_text.h"

namespace vemra {

struct VerbatimRegion {
  // Ends a region that runs to the end of the text.
  static constexpr std::size_t kToTheEnd = static_cast<std::size_t>(-1);

  std::size_t output_begin;  // in the laid-out text: the start of the line after the "off" line
  std::size_t output_end;    // the start of the "on" line, or kToTheEnd
  std::string_view source;   // the region's lines as they stood, with their line ends

  friend bool operator==(const VerbatimRegion&, const VerbatimRegion&) = default;
};

// Finds the regions of one layout from the line comments it writes. Reached
// by the layout through a reference, and fed only values, so that the
// layout's own state stays in registers.
class VerbatimRegionFinder {
 public:
  // source: the text the layout cuts (ending in a line end), whose tokens
  // are views into it. unit: what a TAB becomes in the saved text.
  VerbatimRegionFinder(std::string_view source, IndentUnit unit) : source_(source), unit_(unit) {}

  // Called for every line comment the layout writes, right after it, with
  // where its line starts in the laid-out text (OutputText::
  // CurrentLineStart) and whether the layout noted so far that the next
  // pass may differ. Returns that note as the layout is to carry it on:
  // what it notes inside a region is dropped when the region ends, since
  // the next pass reads the region's bytes exactly as this one did.
  bool NoteLineComment(std::string_view comment, std::size_t line_start, bool next_pass_may_differ);

  // Whether a region is open: its "off" is met, its "on" not yet.
  bool InRegion() const { return in_region_; }
  // The note as it stood when the open region began.
  bool NoteBeforeRegion() const { return note_before_region_; }
  // The first byte of the source that a region met so far takes its lines
  // from, which must stay as it is until Finish; nullptr when none.
  const char* FirstByteNeeded() const {
    if (!regions_.empty()) return regions_.front().source.data();
    return in_region_ ? source_.data() + source_begin_ : nullptr;
  }

  // The regions, in order, once the layout has written laid_out.
  std::vector<VerbatimRegion> Finish(std::string_view laid_out);

 private:
  void Open(std::string_view comment, std::size_t line_start, bool next_pass_may_differ);
  void Close(std::string_view comment, std::size_t line_start);

  std::string_view source_;
  IndentUnit unit_;
  std::vector<VerbatimRegion> regions_;  // output_begin: the start of the "off" line, until Finish
  bool in_region_ = false;
  std::size_t off_line_start_ = 0;   // in the laid-out text
  std::size_t source_begin_ = 0;     // the open region's first byte in source_
  bool note_before_region_ = false;  // the layout's note when the open region began
};

// Where the line that holds the token at `token_at` starts in the laid-out
// text's terms: behind the last line end before it that the layout kept
// ("#id" markers remove some), found by cutting source's tokens from
// `from`, the start of a line the layout kept; `from` itself when no line
// end comes between.
std::size_t KeptLineStart(std::string_view source, std::size_t from, std::size_t token_at);

}  // namespace vemra
