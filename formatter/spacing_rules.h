// The spacing rules of the layout pass: the single blank in front of a token
// (decided by the rules in this order, a later one overriding an earlier one)
// and the single blank behind it. They read the current and the previous
// token, the end of the output and the "#define" flag, and change nothing but
// SpaceBefore, SpaceAfter and blanks at the very end of the output.
#pragma once

#include "formatter/layout_state.h"
#include "formatter/token_text.h"
#include "formatter/word_tables.h"

namespace vemra {

// First bytes of the tokens written against what precedes them.
inline constexpr ByteSet kGluingFirstBytes("!),:;]");
// First bytes of operator tokens, after which "(" groups rather than calls.
inline constexpr ByteSet kOperatorFirstBytes("!&*+-/<=>|");
// First bytes of the tokens after which a "-" is a sign.
inline constexpr ByteSet kSignMinusAfter("\n\r!,<=>");
// First bytes of the operators that take a blank on both sides.
inline constexpr ByteSet kSpacedOperatorFirstBytes("%&*+<=>^|");
// First bytes of the tokens that take no blank behind them...
inline constexpr ByteSet kNoSpaceAfterFirstBytes("!)@]~");
// ...and of the line breaks and openers, which take none either.
inline constexpr ByteSet kOpeningFirstBytes("\n\r([");

// ")", ",", ";", "!", "]", ":", "[", "++", "--": written against what
// precedes them. "(" too, when it opens a call or an index rather than
// following a keyword or an operator.
inline bool GluesToTheLeft(const LayoutState& state) {
  const std::string_view token = state.Token;
  if (token != "::" && StartsWithOneOf(token, kGluingFirstBytes)) return true;
  if (token == "[" || token == "++" || token == "--") return true;
  return token == "(" && (state.PrevRoles & kKeyword) == 0 &&
         !StartsWithOneOf(state.PrevToken, kOperatorFirstBytes);
}

// "[" keeps the blank behind a number, a string, an operator or a name that
// ends in a digit or "_"; it is written against "]" and against a name that
// ends in a letter, "$" or "%".
inline bool IndexKeepsBlank(const LayoutState& state) {
  if (state.Token != "[" || state.PrevToken == "]") return false;
  const char last = LastByte(state.PrevToken);
  return !(IsLetter(last) || last == '$' || last == '%');
}

// A "-" written against its operand: after "=", a comparison, "!", a comma
// or a line start, and anywhere on a "#define" line.
inline bool IsSignMinus(const LayoutState& state) {
  if (state.PrevToken.empty() || state.Token != "-") return false;
  return state.InDefine || StartsWithOneOf(state.PrevToken, kSignMinusAfter);
}

// True when the token written against the previous one would read back as
// other tokens: "+" "++", "-" "--", a number ending in an exponent mark and
// "++" or "--", ":" ":", two runs of "@", and a "#" number followed by a
// name or number that begins like a hexadecimal run.
inline bool WouldMergeWithPrevious(const LayoutState& state) {
  const std::string_view token = state.Token;
  const std::string_view previous = state.PrevToken;
  if (token == "++" || token == "--") {
    return previous == token.substr(1) || IsNumberEndingInExponent(previous);
  }
  if (token == ":") return previous == ":";
  if (IsAtRun(token)) return IsAtRun(previous);
  return IsHashNumber(previous) && StartsLikeHexRun(token);
}

// The blank in front of the token, decided by the rules below in this order,
// a later rule overriding an earlier one.

// "and", "or", "xor", "not", "div", "mod" are spaced like infix operators.
inline void SpaceAroundWordOperators(LayoutState& state) {
  state.SpaceBefore = (state.Roles & kWordOperator) != 0;
}

// "=", "+", "<", "|", "%", "^", "*" and their compounds, "/", "/=", "-",
// "--", "-=": a blank on both sides.
inline void SpaceAroundOperatorSymbols(LayoutState& state) {
  const std::string_view token = state.Token;
  if (StartsWithOneOf(token, kSpacedOperatorFirstBytes) || token == "/" || token == "/=" ||
      token == "-" || token == "--" || token == "-=") {
    state.SpaceBefore = true;
  }
}

// A name with "&" in front starts a line or a parenthesis without a blank.
inline void NoSpaceForAmpersandWordAtStart(LayoutState& state) {
  if (IsOpeningParenOrBreak(state.PrevToken) && FirstByte(state.Token) == '&' &&
      state.Token != "&") {
    state.SpaceBefore = false;
  }
}

// So does "not".
inline void NoSpaceForNotAtStart(LayoutState& state) {
  if (IsOpeningParenOrBreak(state.PrevToken) && (state.Roles & kNotWord) != 0) {
    state.SpaceBefore = false;
  }
}

// Nothing comes between "~" and its operand; "&" "=" is written "&=" again.
inline void JoinAfterTildeAndAmpersand(LayoutState& state) {
  if (state.PrevToken == "~") state.SpaceBefore = false;
  if (state.PrevToken == "&" && state.Token == "=") {
    state.SpaceBefore = false;
    state.Output.DeleteLastIf(' ');
  }
}

// One blank between code and a comment, none at a line start.
inline void SpaceBeforeComment(LayoutState& state) {
  if (!IsComment(state.Token) || state.Output.Empty()) return;
  const char last = state.Output.LastByte();
  state.SpaceBefore = last != '\t' && last != '\n' && last != '\r' && last != ' ';
}

// Tokens that attach to the left drop the blank behind the previous token.
inline void GlueToTheLeft(LayoutState& state) {
  if (state.Output.Empty() || !GluesToTheLeft(state)) return;
  state.SpaceBefore = false;
  if (!IndexKeepsBlank(state)) state.Output.DeleteLastIf(' ');
}

// A directive that starts its line loses the indentation in front of it; in
// the middle of a line it gets one blank. "#object" and "#inherited" stay.
inline void MoveDirectiveToFirstColumn(LayoutState& state) {
  if ((state.Roles & kDirective) == 0 || (state.Roles & kStaysInPlace) != 0 ||
      state.Output.Empty()) {
    return;
  }
  state.Output.DeleteTrailingBlanks();
  state.SpaceBefore =
      !state.Output.Empty() && !state.Output.EndsWith('\n') && !state.Output.EndsWith('\r');
}

// "#" numbers are written against each other: #13#10.
inline void NoSpaceBeforeHashNumber(LayoutState& state) {
  if (IsHashNumber(state.Token)) state.SpaceBefore = false;
}

// Writes the blank in front, unless the line is just starting or one
// already stands there.
inline void WriteSpaceBefore(LayoutState& state) {
  // A blank that keeps two tokens apart is never left out, wherever the
  // rules above would write them against each other.
  if (WouldMergeWithPrevious(state)) state.SpaceBefore = true;
  if (state.SpaceBefore && !state.Output.Empty() && !state.Output.EndsWith(' ') &&
      !state.Output.EndsWith('\n')) {
    state.Output.AppendBlank();
  }
}

// The blank behind the token: every token takes one, except those that
// open or attach ("(", "[", ")", "]", "!", "~", "@", "::", "#" numbers, line
// breaks) and a "-" used as a sign. The next token may take it back.
inline void WriteSpaceAfter(LayoutState& state) {
  const std::string_view token = state.Token;
  state.SpaceAfter = !StartsWithOneOf(token, kNoSpaceAfterFirstBytes);
  if (IsSignMinus(state)) state.SpaceAfter = false;
  if (StartsWithOneOf(token, kOpeningFirstBytes)) state.SpaceAfter = false;
  if (IsHashNumber(token)) state.SpaceAfter = false;
  if (token == "::") state.SpaceAfter = false;
  if (state.SpaceAfter && !state.Output.EndsWith(' ')) state.Output.AppendBlank();
}

}  // namespace vemra
