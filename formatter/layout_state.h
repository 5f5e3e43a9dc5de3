// The state of one layout pass. Tokens are views into Source, and what the
// rules ask of each (its word roles, letter case ignored, and its shape) is
// worked out once into its facts: the rules test those, so the pass never
// copies a token or keeps a lower-cased form.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "formatter/block_facts.h"
#include "formatter/block_runs.h"
#include "formatter/output_text.h"
#include "formatter/token_facts.h"
#include "formatter/verbatim_regions.h"

namespace vemra {

// The token loop keeps this object to itself, so that the compiler can hold
// its fields in registers: everything that grows on the heap is reached
// through a pointer, and no function that is not inlined is handed its
// address.
struct LayoutState {
  // line_ends_as_crlf: the source is a text as it was loaded, whose line
  // ends inside tokens are written as in its joined form. trims_line_ends:
  // the layout's own line ends drop the blanks in front of them.
  // collapses_empty_lines: an empty line behind another is left out.
  LayoutState(std::string_view source, std::string_view preamble, IndentUnit unit,
              std::vector<std::int32_t>& case_stack, VerbatimRegionFinder& regions,
              bool line_ends_as_crlf, bool trims_line_ends, bool collapses_empty_lines,
              BlockFacts* blocks = nullptr)
      : Source(source),
        Runs(source),
        Output(preamble, unit, 2 * source.size() + preamble.size(), kFinishedIndentLimit, source,
               line_ends_as_crlf, trims_line_ends, collapses_empty_lines),
        CaseStack(case_stack),
        Regions(regions),
        Blocks(blocks) {}

  // Input.
  std::string_view Source;       // the text being laid out; never changed
  std::size_t SourceOffset = 0;  // 0-based offset of the next unread byte
  BlockRuns Runs;                // the runs of blanks and word bodies in Source

  // Tokens.
  std::string_view Token;    // the current token, as written in the source
  TokenFacts Facts = 0;      // what the rules need to know of Token
  TokenFacts PrevFacts = 0;  // the same of the last non-empty token; 0 before the first

  bool Is(TokenFacts facts) const { return (Facts & facts) != 0; }
  bool PrevIs(TokenFacts facts) const { return (PrevFacts & facts) != 0; }

  // Result.
  OutputText Output;  // the formatted text built so far

  // Indentation: these carry across lines until a rule changes them.
  std::int32_t Level = 0;  // TABs after the next LF; may go below 0
  // One entry per open "case", innermost last: the level its "end" lowers to.
  std::vector<std::int32_t>& CaseStack;
  bool ForwardPending = false;         // a forward word waits for its routine word
  std::int32_t PropertyCountdown = 0;  // tokens left until the property-block test; 0 idle
  bool InDefine = false;               // a "#define" stands on the current line

  // The regions left as they stood, found from the line comments.
  VerbatimRegionFinder& Regions;
  // Where blocks open and close, for the findings on unbalanced blocks;
  // null when they are not asked for.
  BlockFacts* const Blocks;

  // Spacing of the current token.
  bool SpaceBefore = false;  // one blank goes in front of the token
  bool SpaceAfter = false;   // one blank goes behind the token

  // Formatting the finished text once more may lay it out differently
  // (next_pass_notes.h); set at most, never cleared.
  bool NextPassMayDiffer = false;
};

}  // namespace vemra
