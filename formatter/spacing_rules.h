// The spacing rules of the layout pass: the single blank in front of a token
// (decided by the rules in this order, a later one overriding an earlier one)
// and the single blank behind it. They read the current and the previous
// token, the end of the output and the "#define" flag, and change nothing but
// SpaceBefore, SpaceAfter and blanks at the very end of the output.
#pragma once

#include "formatter/layout_state.h"

namespace vemra {

// Blank in front of the token.
void SpaceAroundWordOperators(LayoutState& state);        // "and", "or", "xor", "not", "div", "mod"
void SpaceAroundOperatorSymbols(LayoutState& state);      // "=", "+", "<", "|", "-", "/", ...
void NoSpaceForAmpersandWordAtStart(LayoutState& state);  // "&name" after "(" or a line break
void NoSpaceForNotAtStart(LayoutState& state);            // "not" after "(" or a line break
void JoinAfterTildeAndAmpersand(LayoutState& state);      // "~x", and "&" "=" back into "&="
void SpaceBeforeComment(LayoutState& state);              // one blank between code and comment
void GlueToTheLeft(LayoutState& state);                   // ")", ",", ";", ":", "[", "(" of a call
void MoveDirectiveToFirstColumn(LayoutState& state);      // "#ifdef" at a line start
void NoSpaceBeforeHashNumber(LayoutState& state);         // "#13#10"
void WriteSpaceBefore(LayoutState& state);

// Blank behind the token.
void WriteSpaceAfter(LayoutState& state);

// True when the token written against the previous one would read back as
// other tokens ("+" "++", ":" ":", "@" "@", "#1" "F", ...).
bool WouldMergeWithPrevious(const LayoutState& state);

}  // namespace vemra
