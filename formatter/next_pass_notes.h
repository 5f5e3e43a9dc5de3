// What the layout notes of the few things that can make a second pass over
// its finished text lay that text out differently. Nearly every text meets
// none of them and is settled by one pass; a text that meets one is
// formatted again until a pass leaves it as it is (settled_lines.h).
//
// The next pass reads the finished text: the same tokens in the same lines,
// except that every line ends in CR LF, the bytes of value 0x20 or lower at
// the end of each line are trimmed, TABs are expanded (never where that
// would change a token's extent) and runs of empty lines may be collapsed.
// Of these, only three reach a rule:
//
//  - A "#id" marker that removes the CR of a line end but not its LF: the
//    finished text ends that line in CR LF again, and the next pass lays out
//    a CR token the first one never saw. CR and LF tokens act on nothing but
//    their own line, save for one rule that counts tokens: the count after
//    "read" and "write", which the CR shifts. Only right behind the
//    accessor word does that matter: there the CR takes the LF's place in
//    the count, and the LF the place of the token after it, so the count
//    tests the LF instead. Further on, the CR and the LF are both tested in
//    turn, or neither, and both open the level before the LF's TABs.
//  - A marker that removes the text's last line end, CR and LF, or a token
//    that holds it: the finished text ends its last line again, and the
//    next pass lays out that line end too. Its LF receives the indentation
//    of a block still open (or opened by the count), which makes one more
//    empty last line where empty lines are collapsed. A line end removed
//    anywhere else joins two lines, as the finished text then shows them.
//  - Trimming the token that count tests: its last byte decides whether the
//    accessor opens a level ("$" or "%" opens none). A "//" comment or an
//    unclosed double-quoted literal runs up to its line's end, blanks
//    included; trimmed, it may end in "$" or "%" instead.
//
// The other bytes trimming removes change nothing a rule tests: a control
// byte at a line's end, trimmed away with the token it is, only moves the
// count from one CR, LF or control byte to another, and none of them ends
// in "$" or "%". Empty lines collapsed are CR and LF tokens that come after
// a line end, where no count reaches them.
#pragma once

#include <string_view>

#include "formatter/layout_state.h"

namespace vemra {

// An LF token without the CR in front of it, right behind "read" or
// "write".
inline void NoteLineFeedWithoutCarriageReturn(LayoutState& state) {
  if (state.Is(kLineFeed) && state.PrevIs(kAccessorWord)) state.NextPassMayDiffer = true;
}

// Whether trimming token at the end of its line leaves it ending in "$" or
// "%" where it did not before. A token that ends in a line break keeps it.
inline bool TrimmingEndsInSigil(std::string_view token) {
  const auto trimmed = [](char c) {
    return static_cast<unsigned char>(c) <= 0x20 && c != '\r' && c != '\n';
  };
  std::size_t end = token.size();
  while (end > 0 && trimmed(token[end - 1])) --end;
  return end != token.size() && end > 0 && (token[end - 1] == '$' || token[end - 1] == '%');
}

// The token the accessor's count tests, when trimming changes its last byte
// to "$" or "%". Comes after the count.
inline void NoteTrimmedAccessedToken(LayoutState& state) {
  if (state.PropertyCountdown == 1 && TrimmingEndsInSigil(state.Token)) {
    state.NextPassMayDiffer = true;
  }
}

// After the last token: the text's last line end was removed, while a block
// is open or the count runs.
inline void NoteLastLineEndRemoved(LayoutState& state) {
  if ((state.Level > 0 || state.PropertyCountdown > 0) &&
      !state.Output.EndsInLineBreakAndBlanks()) {
    state.NextPassMayDiffer = true;
  }
}

}  // namespace vemra
