// The spacing rules of the layout pass: the single blank in front of a token
// (decided by the rules in this order, a later one overriding an earlier one)
// and the single blank behind it. They read the current and the previous
// token, the end of the output and the "#define" flag, and change nothing but
// SpaceBefore, SpaceAfter and blanks at the very end of the output.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/word_tables.h"

namespace vemra {

// ")", ",", ";", "!", "]", ":", "[", "++", "--": written against what
// precedes them. "(" too, when it opens a call or an index rather than
// following a keyword or an operator.
inline bool GluesToTheLeft(const LayoutState& state) {
  if (state.Is(kGluesLeft)) return true;
  return state.Is(kOpenParen) && !state.PrevIs(kKeyword | kOperatorStart);
}

// "[" keeps the blank behind a number, a string, an operator or a name that
// ends in a digit or "_"; it is written against "]" and against a name that
// ends in a letter, "$" or "%".
inline bool IndexKeepsBlank(const LayoutState& state) {
  return state.Is(kOpenBracket) && !state.PrevIs(kCloseBracket | kEndsInNameByte);
}

// A "-" written against its operand: after "=", a comparison, "!", a comma
// or a line start, and anywhere on a "#define" line.
inline bool IsSignMinus(const LayoutState& state) {
  if (!state.PrevIs(kAnyToken) || !state.Is(kMinusSign)) return false;
  return state.InDefine || state.PrevIs(kSignMinusAfter);
}

// True when the token written against the previous one would read back as
// other tokens: "+" "++", "-" "--", a number ending in an exponent mark and
// "++" or "--", ":" ":", two runs of "@", and a "#" number followed by a
// name or number that begins like a hexadecimal run.
inline bool WouldMergeWithPrevious(const LayoutState& state) {
  if (state.Is(kPlusPlus)) return state.PrevIs(kPlusSign | kExponentNumber);
  if (state.Is(kMinusMinus)) return state.PrevIs(kMinusSign | kExponentNumber);
  if (state.Is(kColon)) return state.PrevIs(kColon);
  if (state.Is(kAtRun)) return state.PrevIs(kAtRun);
  return state.PrevIs(kHashNumber) && state.Is(kHexRunStart);
}

// The blank in front of the token, decided by the rules below in this order,
// a later rule overriding an earlier one.

// "and", "or", "xor", "not", "div", "mod" are spaced like infix operators.
inline void SpaceAroundWordOperators(LayoutState& state) {
  state.SpaceBefore = state.Is(kWordOperator);
}

// "=", "+", "<", "|", "%", "^", "*" and their compounds, "/", "/=", "-",
// "--", "-=": a blank on both sides.
inline void SpaceAroundOperatorSymbols(LayoutState& state) {
  if (state.Is(kSpacedOperator)) state.SpaceBefore = true;
}

// A name with "&" in front starts a line or a parenthesis without a blank.
inline void NoSpaceForAmpersandWordAtStart(LayoutState& state) {
  if (state.PrevIs(kOpensLineOrParen) && state.Is(kAmpersandName)) state.SpaceBefore = false;
}

// So does "not".
inline void NoSpaceForNotAtStart(LayoutState& state) {
  if (state.PrevIs(kOpensLineOrParen) && state.Is(kNotWord)) state.SpaceBefore = false;
}

// Nothing comes between "~" and its operand; "&" "=" is written "&=" again.
inline void JoinAfterTildeAndAmpersand(LayoutState& state) {
  if (state.PrevIs(kTilde)) state.SpaceBefore = false;
  if (state.PrevIs(kAmpersand) && state.Is(kEqualsSign)) {
    state.SpaceBefore = false;
    state.Output.DeleteLastIf(' ');
  }
}

// One blank between code and a comment, none at a line start.
inline void SpaceBeforeComment(LayoutState& state) {
  if (!state.Is(kComment) || state.Output.Empty()) return;
  const char last = state.Output.LastByte();
  state.SpaceBefore = last != '\t' && last != '\n' && last != '\r' && last != ' ';
}

// Tokens that attach to the left drop the blank behind the previous token.
inline void GlueToTheLeft(LayoutState& state) {
  if (!GluesToTheLeft(state) || state.Output.Empty()) return;
  state.SpaceBefore = false;
  if (!IndexKeepsBlank(state)) state.Output.DeleteLastBlank();
}

// A directive that starts its line loses the indentation in front of it; in
// the middle of a line it gets one blank. "#object" and "#inherited" stay.
inline void MoveDirectiveToFirstColumn(LayoutState& state) {
  if (!state.Is(kDirective) || state.Is(kStaysInPlace) || state.Output.Empty()) return;
  state.Output.DeleteTrailingBlanks();
  state.SpaceBefore =
      !state.Output.Empty() && !state.Output.EndsWith('\n') && !state.Output.EndsWith('\r');
}

// "#" numbers are written against each other: #13#10.
inline void NoSpaceBeforeHashNumber(LayoutState& state) {
  if (state.Is(kHashNumber)) state.SpaceBefore = false;
}

// A blank that keeps two tokens apart is never left out, wherever the rules
// above would write them against each other.
inline void KeepApartWhatWouldMerge(LayoutState& state) {
  if (WouldMergeWithPrevious(state)) state.SpaceBefore = true;
}

// Whether the blank in front is written: not when the line is just
// starting, nor when one already stands there.
inline bool BlankGoesBefore(const LayoutState& state) {
  const OutputText& output = state.Output;
  return state.SpaceBefore && !output.Empty() && output.LastByte() != ' ' &&
         output.LastByte() != '\n';
}

// Writes the blank in front.
inline void WriteSpaceBefore(LayoutState& state) {
  state.Output.AppendBlankIf(BlankGoesBefore(state));
}

// The blank behind the token: every token takes one, except those that
// open or attach ("(", "[", ")", "]", "!", "~", "@", "::", "#" numbers, line
// breaks). The next token may take it back.
inline void SpaceAfterToken(LayoutState& state) {
  state.SpaceAfter = !state.Is(kNoSpaceAfter);
}

// Nor does a "-" used as a sign.
inline void NoSpaceAfterSignMinus(LayoutState& state) {
  if (IsSignMinus(state)) state.SpaceAfter = false;
}

// Writes the blank behind, unless one already stands there.
inline void WriteSpaceAfter(LayoutState& state) {
  // The token was just written, so the text is not empty.
  state.Output.AppendBlankIf(state.SpaceAfter && state.Output.LastByte() != ' ');
}

}  // namespace vemra
