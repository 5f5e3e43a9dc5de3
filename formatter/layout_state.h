// The state of one layout pass. Tokens are views into Source, and each is
// looked up once, letter case ignored, in the word tables: the rules test
// its roles, so the pass never copies a token or keeps a lower-cased form.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "formatter/output_text.h"

namespace vemra {

struct LayoutState {
  LayoutState(std::string_view source, std::string_view preamble, IndentUnit unit)
      : Source(source), Output(preamble, unit, 2 * source.size() + preamble.size()) {}

  // Input.
  std::string_view Source;       // the text being laid out; never changed
  std::size_t SourceOffset = 0;  // 0-based offset of the next unread byte

  // Tokens.
  std::string_view Token;       // the current token, as written in the source
  std::string_view PrevToken;   // the last non-empty token; empty before the first
  std::uint32_t Roles = 0;      // WordRole bits of Token; 0 when it is no word of the rules
  std::uint32_t PrevRoles = 0;  // WordRole bits of PrevToken

  // Result.
  OutputText Output;  // the formatted text built so far

  // Indentation: these carry across lines until a rule changes them.
  std::int32_t Level = 0;  // TABs after the next LF; may go below 0
  // One entry per open "case", innermost last: the level its "end" lowers to.
  std::vector<std::int32_t> CaseStack;
  bool ForwardPending = false;         // a forward word waits for its routine word
  std::int32_t PropertyCountdown = 0;  // tokens left until the property-block test; 0 idle
  bool InDefine = false;               // a "#define" stands on the current line

  // Spacing of the current token.
  bool SpaceBefore = false;  // one blank goes in front of the token
  bool SpaceAfter = false;   // one blank goes behind the token
};

}  // namespace vemra
