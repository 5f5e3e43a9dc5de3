// One formatting pass: the layout pass and the finishing pass over a text
// as it was loaded, as FormatSource runs them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formatter/block_facts.h"
#include "formatter/finishing_pass.h"
#include "formatter/format_options.h"
#include "formatter/source_release.h"

namespace vemra {

// What one pass made of a text: its finished lines, and whether a pass over
// them may still change them (see next_pass_notes.h).
struct FormatPassResult {
  FinishedLines lines;
  bool next_pass_may_differ = false;
};

// Formats text, whose lines may end in CR LF, LF or CR, once. spare is a
// string whose memory the finished lines may take over, as FinishingPass
// says, but only when no pass is to follow; text may be a view of spare's
// bytes, which the layout has read in full by then. With kReleased, the
// memory under such a view is given back as the layout passes it, and
// spare's bytes are lost. Throws ETextTooLarge as LayOutLines and
// FinishLines do; spare is then left as it was, bar what was given back.
// blocks, when given, takes the layout's findings on blocks.
FormatPassResult FormatPass(std::string_view text, const FormatOptions& options,
                            std::string&& spare = std::string(),
                            LaidOutBytes laid_out_bytes = LaidOutBytes::kKept,
                            BlockFacts* blocks = nullptr);

}  // namespace vemra
