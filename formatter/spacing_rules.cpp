#include "formatter/spacing_rules.h"

#include "formatter/token_text.h"
#include "formatter/word_tables.h"

namespace vemra {
namespace {

// First bytes of the tokens written against what precedes them.
constexpr ByteSet kGluingFirstBytes("!),:;]");
// First bytes of operator tokens, after which "(" groups rather than calls.
constexpr ByteSet kOperatorFirstBytes("!&*+-/<=>|");
// First bytes of the tokens after which a "-" is a sign.
constexpr ByteSet kSignMinusAfter("\n\r!,<=>");
// First bytes of the operators that take a blank on both sides.
constexpr ByteSet kSpacedOperatorFirstBytes("%&*+<=>^|");
// First bytes of the tokens that take no blank behind them...
constexpr ByteSet kNoSpaceAfterFirstBytes("!)@]~");
// ...and of the line breaks and openers, which take none either.
constexpr ByteSet kOpeningFirstBytes("\n\r([");

// "(" and the line-break tokens: what a line or a parenthesis starts with.
bool IsOpeningParenOrBreak(std::string_view token) {
  return token == "(" || IsLineBreak(token);
}

bool IsComment(std::string_view token) {
  return token.size() >= 2 && token[0] == '/' && (token[1] == '/' || token[1] == '*');
}

// ")", ",", ";", "!", "]", ":", "[", "++", "--": written against what
// precedes them. "(" too, when it opens a call or an index rather than
// following a keyword or an operator.
bool GluesToTheLeft(const LayoutState& state) {
  const std::string_view token = state.Token;
  if (token != "::" && StartsWithOneOf(token, kGluingFirstBytes)) return true;
  if (token == "[" || token == "++" || token == "--") return true;
  return token == "(" && !IsKeyword(state.PrevToken) &&
         !StartsWithOneOf(state.PrevToken, kOperatorFirstBytes);
}

// "[" keeps the blank behind a number, a string, an operator or a name that
// ends in a digit or "_"; it is written against "]" and against a name that
// ends in a letter, "$" or "%".
bool IndexKeepsBlank(const LayoutState& state) {
  if (state.Token != "[" || state.PrevToken == "]") return false;
  const char last = LastByte(state.PrevToken);
  return !(IsLetter(last) || last == '$' || last == '%');
}

// A "-" written against its operand: after "=", a comparison, "!", a comma
// or a line start, and anywhere on a "#define" line.
bool IsSignMinus(const LayoutState& state) {
  if (state.PrevToken.empty() || state.Token != "-") return false;
  return state.InDefine || StartsWithOneOf(state.PrevToken, kSignMinusAfter);
}

bool StartsLikeHexRun(std::string_view token) {
  const char first = FirstByte(token);
  return IsDigit(first) || (first >= 'A' && first <= 'F') || (first >= 'a' && first <= 'f') ||
         first == 'X' || first == 'x';
}

bool IsAtRun(std::string_view token) {
  return FirstByte(token) == '@';
}

// A number ending in an exponent mark would take a following "+" or "-".
bool IsNumberEndingInExponent(std::string_view token) {
  return IsNumber(token) && (LastByte(token) == 'e' || LastByte(token) == 'E');
}

}  // namespace

void SpaceAroundWordOperators(LayoutState& state) {
  state.SpaceBefore = IsWordOperator(state.Token);
}

void SpaceAroundOperatorSymbols(LayoutState& state) {
  const std::string_view token = state.Token;
  if (StartsWithOneOf(token, kSpacedOperatorFirstBytes) || token == "/" || token == "/=" ||
      token == "-" || token == "--" || token == "-=") {
    state.SpaceBefore = true;
  }
}

void NoSpaceForAmpersandWordAtStart(LayoutState& state) {
  if (IsOpeningParenOrBreak(state.PrevToken) && FirstByte(state.Token) == '&' &&
      state.Token != "&") {
    state.SpaceBefore = false;
  }
}

void NoSpaceForNotAtStart(LayoutState& state) {
  if (IsOpeningParenOrBreak(state.PrevToken) && SameWord(state.Token, "not")) {
    state.SpaceBefore = false;
  }
}

void JoinAfterTildeAndAmpersand(LayoutState& state) {
  if (state.PrevToken == "~") state.SpaceBefore = false;
  if (state.PrevToken == "&" && state.Token == "=") {
    state.SpaceBefore = false;
    state.Output.DeleteLastIf(' ');
  }
}

void SpaceBeforeComment(LayoutState& state) {
  if (!IsComment(state.Token) || state.Output.Empty()) return;
  const char last = state.Output.LastByte();
  state.SpaceBefore = last != '\t' && last != '\n' && last != '\r' && last != ' ';
}

void GlueToTheLeft(LayoutState& state) {
  if (state.Output.Empty() || !GluesToTheLeft(state)) return;
  state.SpaceBefore = false;
  if (!IndexKeepsBlank(state)) state.Output.DeleteLastIf(' ');
}

void MoveDirectiveToFirstColumn(LayoutState& state) {
  if (!IsDirective(state.Token) || SameWord(state.Token, "#object") ||
      SameWord(state.Token, "#inherited") || state.Output.Empty()) {
    return;
  }
  state.Output.DeleteTrailingBlanks();
  state.SpaceBefore =
      !state.Output.Empty() && !state.Output.EndsWith('\n') && !state.Output.EndsWith('\r');
}

void NoSpaceBeforeHashNumber(LayoutState& state) {
  if (IsHashNumber(state.Token)) state.SpaceBefore = false;
}

void WriteSpaceBefore(LayoutState& state) {
  // A blank that keeps two tokens apart is never left out, wherever the
  // rules above would write them against each other.
  if (WouldMergeWithPrevious(state)) state.SpaceBefore = true;
  if (state.SpaceBefore && !state.Output.Empty() && !state.Output.EndsWith(' ') &&
      !state.Output.EndsWith('\n')) {
    state.Output.AppendBlank();
  }
}

void WriteSpaceAfter(LayoutState& state) {
  const std::string_view token = state.Token;
  state.SpaceAfter = !StartsWithOneOf(token, kNoSpaceAfterFirstBytes);
  if (IsSignMinus(state)) state.SpaceAfter = false;
  if (StartsWithOneOf(token, kOpeningFirstBytes)) state.SpaceAfter = false;
  if (IsHashNumber(token)) state.SpaceAfter = false;
  if (token == "::") state.SpaceAfter = false;
  if (state.SpaceAfter && !state.Output.EndsWith(' ')) state.Output.AppendBlank();
}

bool WouldMergeWithPrevious(const LayoutState& state) {
  const std::string_view token = state.Token;
  const std::string_view previous = state.PrevToken;
  if (token == "++" || token == "--") {
    return previous == token.substr(1) || IsNumberEndingInExponent(previous);
  }
  if (token == ":") return previous == ":";
  if (IsAtRun(token)) return IsAtRun(previous);
  return IsHashNumber(previous) && StartsLikeHexRun(token);
}

}  // namespace vemra
