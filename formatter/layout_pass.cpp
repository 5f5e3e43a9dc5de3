#include "formatter/layout_pass.h"

#include "formatter/indentation_rules.h"
#include "formatter/layout_state.h"
#include "formatter/next_token.h"
#include "formatter/spacing_rules.h"
#include "formatter/text_size_limit.h"

namespace vemra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
const TokenFacts kLineFeedFacts = FactsOf("\n");

// Every token goes through the same steps in this fixed order: the rules
// that look at the end of the output before the token is written, the token
// itself, then the rules that act on what follows it.
void LayOutNextToken(LayoutState& state) {
  if (state.PrevIs(kCarriageReturn) && state.SourceOffset < state.Source.size() &&
      state.Source[state.SourceOffset] == '\n') {
    // Nearly every line ends in CR LF: the LF right behind a CR is a token
    // of its own, with nothing to cut or look up.
    state.Token = state.Source.substr(state.SourceOffset++, 1);
    state.Facts = kLineFeedFacts;
  } else {
    std::size_t at = state.SourceOffset;
    state.Token = CutNextToken(state.Source, at);
    state.SourceOffset = at;
    if (state.Token.empty()) return;  // only blanks or removed markers were left
    state.Facts = FactsOf(state.Token);
  }

  CloseBlock(state);
  CountDownAccessor(state);
  OpenPropertyBlock(state);
  EnterDefine(state);

  SpaceAroundWordOperators(state);
  SpaceAroundOperatorSymbols(state);
  NoSpaceForAmpersandWordAtStart(state);
  NoSpaceForNotAtStart(state);
  JoinAfterTildeAndAmpersand(state);
  SpaceBeforeComment(state);
  GlueToTheLeft(state);
  MoveDirectiveToFirstColumn(state);
  NoSpaceBeforeHashNumber(state);
  WriteSpaceBefore(state);

  if (state.Is(kLineFeed)) {
    state.Output.AppendLineFeed();
  } else {
    state.Output.AppendToken(state.Token);
  }

  IndentNewLine(state);
  NoteForwardWord(state);
  OpenBlock(state);
  OpenCaseBlock(state);
  OutdentLabel(state);
  OpenIfBlock(state);
  WriteSpaceAfter(state);

  state.PrevFacts = state.Facts;
}

}  // namespace

std::string LayoutPass(std::string_view Source, IndentUnit unit) {
  const std::string_view mark = Source.starts_with(kByteOrderMark) ? kByteOrderMark : "";
  Source.remove_prefix(mark.size());
  // Positions run to one past the last byte, and must stay 32-bit.
  CheckTextSize(static_cast<std::int64_t>(Source.size()) + 1);
  std::vector<std::int32_t> case_stack;
  LayoutState state(Source, mark, unit, case_stack);
  while (state.SourceOffset < state.Source.size()) LayOutNextToken(state);
  return state.Output.Take();
}

}  // namespace vemra
