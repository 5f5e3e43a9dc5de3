// The layout pass: cuts the source into tokens and writes them out again
// with the indentation and the blanks of the layout rules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/block_facts.h"
#include "formatter/output_text.h"
#include "formatter/source_release.h"
#include "formatter/verbatim_regions.h"

namespace vemra {

// Whether the layout leaves the bytes of value 0x20 or lower in front of
// each CR token it writes (kKept), or drops them (kTrimmed), since the
// finishing pass would trim them from the end of their line in any case;
// kTrimmedAndCollapsed also leaves out each empty line right behind another
// one, which a finishing pass that collapses runs of empty lines would
// drop. Either way indentation takes its finished form up to the same
// size as if they stood.
enum class TrailingBytes { kKept, kTrimmed, kTrimmedAndCollapsed };

// The laid-out text of Source, before TABs are expanded and lines trimmed:
// CR and LF tokens as in the source, Level TABs after every LF, single
// blanks between tokens. A UTF-8 byte-order mark at the start is kept in
// front of the result and takes no part in the layout. Each indentation
// level is written as unit (one TAB unless told otherwise), or as a TAB in a
// text past 512 MB; TABs inside tokens stay. Throws ETextTooLarge when the
// result, or its form with every TAB expanded to unit, would pass the text
// size limit.
std::string LayoutPass(std::string_view Source, IndentUnit unit = {},
                       TrailingBytes trailing = TrailingBytes::kKept);

// A laid-out text, whether formatting it once more, after the finishing
// pass, may lay it out differently (see next_pass_notes.h), and the regions
// whose lines are to be saved as they stood (verbatim_regions.h; their
// sources are views into the text that was laid out).
struct LaidOutText {
  std::string text;
  bool next_pass_may_differ = false;
  std::vector<VerbatimRegion> regions;

  friend bool operator==(const LaidOutText&, const LaidOutText&) = default;
};

// How LayOutLines cuts a text's tokens (see there), and the size from which
// kBySize cuts them ahead, on a thread of their own.
enum class Cutting { kBySize, kInLoop, kTable, kAhead };
inline constexpr std::size_t kCutAheadSize = std::size_t{16} << 20;

// The same text for a text as it was loaded, whose lines may end in CR LF,
// LF or CR: LayoutPass of its joined form (every line followed by CR LF),
// without building that form. A last line without a line end is given one.
//
// Cutting the tokens is about half the work, and needs nothing of the
// layout's state: a text of kCutAheadSize bytes or more has its tokens cut
// on a thread of their own, ahead of the layout, when the system gives one
// and the process may run on a second processor. Below that size the
// thread would cost more than it saves. Otherwise the table cutter
// (table_cutter.h) cuts them on this thread, a batch at a time. kInLoop
// (the plain rules, one token at a time in the loop), kTable and kAhead
// choose either way whatever the size; all give the same text.
//
// release gives the memory under the text back as the layout passes it
// (source_release.h); the in-loop cutting releases nothing, nor does a
// text given a line end here, which is laid out from a copy. blocks, when
// given, records where blocks open and close, and holds the findings on
// them once the layout is done.
LaidOutText LayOutLines(std::string_view text, IndentUnit unit = {},
                        TrailingBytes trailing = TrailingBytes::kKept,
                        Cutting cutting = Cutting::kBySize, SourceRelease release = {},
                        BlockFacts* blocks = nullptr);

}  // namespace vemra
