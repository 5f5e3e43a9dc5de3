#include "formatter/layout_pass.h"

#include <algorithm>
#include <array>

#include "base/line_breaks.h"
#include "formatter/indentation_rules.h"
#include "formatter/layout_state.h"
#include "formatter/next_pass_notes.h"
#include "formatter/next_token.h"
#include "formatter/region_notes.h"
#include "formatter/spacing_rules.h"
#include "formatter/table_cutter.h"
#include "formatter/text_size_limit.h"
#include "formatter/token_cutting.h"
#include "formatter/tokens_cut_ahead.h"

namespace vemra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Tokens the table cutter hands over at a time: enough to keep its walk
// through a stretch going, few enough to stay in the first-level cache.
constexpr std::size_t kTableBatch = 256;

// Every token goes through the same steps in this fixed order: the rules
// that look at the end of the output before the token is written, the token
// itself, then the rules that act on what follows it. Inlined into the token
// loop, so that the state stays in registers.
[[gnu::always_inline]] inline void LayOutToken(LayoutState& state) {
  NoteLineFeedWithoutCarriageReturn(state);
  CloseBlock(state);
  CountDownAccessor(state);
  OpenPropertyBlock(state);
  NoteTrimmedAccessedToken(state);
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
  KeepApartWhatWouldMerge(state);
  WriteSpaceBefore(state);

  if (state.Is(kLineFeed)) {
    state.Output.AppendLineFeed();
  } else if (state.Is(kCarriageReturn)) {
    state.Output.AppendCarriageReturn();
  } else {
    state.Output.AppendToken(state.Token);
    NoteRegionMarker(state);
  }

  IndentNewLine(state);
  NoteForwardWord(state);
  OpenBlock(state);
  OpenCaseBlock(state);
  OutdentLabel(state);
  OpenIfBlock(state);
  SpaceAfterToken(state);
  NoSpaceAfterSignMinus(state);
  WriteSpaceAfter(state);

  state.PrevFacts = state.Facts;
}

// The facts some step tests in the current token, or in the previous one,
// beyond the steps every token takes. Names, numbers, literals, brackets,
// commas and most operators have none of them.
constexpr TokenFacts kFactsOfRareSteps =
    kClosingWord | kAccessorWord | kDefineWord | kNotWord | kAmpersandName | kComment | kDirective |
    kHashNumber | kPlusPlus | kMinusMinus | kColon | kAtRun | kMinusSign | kLineFeed |
    kCarriageReturn | kForwardWord | kOpeningWord | kCaseWord | kIfWord;
constexpr TokenFacts kPrevFactsOfRareSteps = kTilde | kAmpersand | kHashNumber;

// Whether only the steps of LayOutCommonToken can act on the current token.
bool IsCommonToken(const LayoutState& state) {
  return ((state.Facts & kFactsOfRareSteps) | (state.PrevFacts & kPrevFactsOfRareSteps) |
          static_cast<TokenFacts>(state.PropertyCountdown)) == 0;
}

// LayOutToken for a common token: the steps left out test a fact it lacks,
// or a previous token's fact, or count down a property, that IsCommonToken
// rules out, and do nothing. Most tokens take this way, which spares them
// most of the tests.
[[gnu::always_inline]] inline void LayOutCommonToken(LayoutState& state) {
  SpaceAroundWordOperators(state);
  SpaceAroundOperatorSymbols(state);
  GlueToTheLeft(state);
  SpaceAfterToken(state);
  // The blank behind follows the token, so the text would end in the
  // token's last byte when it is decided.
  state.Output.AppendTokenBetweenBlanks(BlankGoesBefore(state), state.Token,
                                        state.SpaceAfter && state.Token.back() != ' ');
  state.PrevFacts = state.Facts;
}

void SetToken(LayoutState& state, std::string_view token, TokenFacts facts) {
  state.Token = token;
  state.Facts = facts;
}

// Reads the next token of a joined text into state; false at its end.
bool NextTokenOfJoinedText(LayoutState& state) {
  if (state.PrevIs(kCarriageReturn) && state.SourceOffset < state.Source.size() &&
      state.Source[state.SourceOffset] == '\n') {
    // Nearly every line ends in CR LF: the LF right behind a CR is a token
    // of its own, with nothing to cut or look up.
    SetToken(state, state.Source.substr(state.SourceOffset++, 1), kLineFeedFacts);
    return true;
  }
  std::size_t at = state.SourceOffset;
  const std::string_view token = CutNextToken(state.Source, at);
  state.SourceOffset = at;
  SetToken(state, token, FactsOf(token));
  return !token.empty();
}

// The steps for the two tokens a line end stands for, the CR and then the
// LF token. Only these steps act on them: every other one tests for a fact
// neither token has (a word role, an operator, a comment, ...), and no
// blank is written on either side of them.
[[gnu::always_inline]] inline void LayOutLineEnd(LayoutState& state) {
  SetToken(state, kLineEndTokens.substr(0, 1), kCarriageReturnFacts);
  CountDownAccessor(state);
  OpenPropertyBlock(state);
  state.SpaceBefore = false;
  state.Output.AppendCarriageReturn();
  SpaceAfterToken(state);
  state.PrevFacts = state.Facts;

  SetToken(state, kLineEndTokens.substr(1), kLineFeedFacts);
  CountDownAccessor(state);
  OpenPropertyBlock(state);
  state.SpaceBefore = false;
  state.Output.AppendLineFeed();
  IndentNewLine(state);
  SpaceAfterToken(state);
  state.PrevFacts = state.Facts;
}

// Lays out a token of a text as it was loaded, with its facts.
[[gnu::always_inline]] inline void LayOutTokenOfFacts(LayoutState& state, std::string_view token,
                                                      TokenFacts facts) {
  SetToken(state, token, facts);
  if (IsCommonToken(state)) {
    LayOutCommonToken(state);
  } else {
    LayOutToken(state);
  }
}

// Lays out a token of a text as it was loaded, cut by the given rule, or
// the two tokens of a line end.
[[gnu::always_inline]] inline void LayOutCutToken(LayoutState& state, std::string_view token,
                                                  TokenRule rule) {
  if (token[0] == '\r') {
    LayOutLineEnd(state);
  } else {
    LayOutTokenOfFacts(state, token, FactsOfCut(token, rule));
  }
}

// The same for a token whose facts were worked out as it was cut.
[[gnu::always_inline]] inline void LayOutCutTokenOfFacts(LayoutState& state, std::string_view token,
                                                         TokenFacts facts) {
  if (token[0] == '\r') {
    LayOutLineEnd(state);
  } else {
    LayOutTokenOfFacts(state, token, facts);
  }
}

// Lays out the next token of a text as it was loaded, or the two tokens of
// a line end; false at the text's end.
[[gnu::always_inline]] inline bool LayOutNextTokenOfLoadedText(LayoutState& state) {
  std::size_t at = state.SourceOffset;
  TokenRule rule = TokenRule::kOneByte;
  // The cut is inlined here, rather than called through CutNextLineToken,
  // which spares the call its saving and restoring of registers.
  const std::string_view token = token_cutting::CutKeptToken<token_cutting::LineEnd::kAnyBreak>(
      state.Source, at, rule, state.Runs);
  state.SourceOffset = at;
  if (token.empty()) return false;
  LayOutCutToken(state, token, rule);
  return true;
}

// Lays out every token of a text as it was loaded, as they come from the
// thread that cuts them.
void LayOutTokensCutAhead(LayoutState& state, TokensCutAhead& tokens, SourceRelease& release) {
  for (auto batch = tokens.NextBatch(); !batch.empty(); batch = tokens.NextBatch()) {
    const TokenFacts* const facts = tokens.FactsOfBatch();
    for (std::size_t i = 0; i < batch.size(); ++i) {
      LayOutCutTokenOfFacts(state, batch[i].View(), facts[i]);
    }
    release.Passed(tokens.HandedOverOfBatch(), state.Regions.FirstByteNeeded());
  }
}

// Lays out every token of a text as it was loaded, cut by the table cutter
// on this thread, a batch at a time.
void LayOutTokensCutByTable(LayoutState& state, SourceRelease& release) {
  TableCutter<token_cutting::LineEnd::kAnyBreak> cutter(state.Source);
  std::array<CutTokenRecord, kTableBatch> batch;
  while (const std::size_t count = cutter.Fill(batch)) {
    for (std::size_t i = 0; i < count; ++i) LayOutCutToken(state, batch[i].View(), batch[i].rule);
    release.Passed(cutter.HandedOver(), state.Regions.FirstByteNeeded());
  }
}

// What a long token's copy tells the release: the regions may still need
// the bytes from some place on. A line comment is read again once it is
// written, from both ends, for a region's marker: its bytes stay until the
// batch that holds it is laid out.
struct LongTokenRelease {
  SourceRelease& release;
  const VerbatimRegionFinder& regions;

  static void Passed(void* context, std::string_view token, const char* at) {
    if (token.starts_with("//")) return;
    const auto* self = static_cast<const LongTokenRelease*>(context);
    self->release.Passed(at, self->regions.FirstByteNeeded());
  }
};

// How the tokens of a text of the given size are cut when the caller lets
// the size choose.
Cutting ChosenCutting(Cutting cutting, std::size_t text_size) {
  if (cutting != Cutting::kBySize) return cutting;
  return text_size >= kCutAheadSize && TokensCutAhead::SecondProcessorAvailable() ? Cutting::kAhead
                                                                                  : Cutting::kTable;
}

// Lays out the next token of a joined text; false at its end.
bool LayOutNextTokenOfJoinedText(LayoutState& state) {
  if (!NextTokenOfJoinedText(state)) return false;
  LayOutToken(state);
  return true;
}

// The source is a text as it was loaded (kLoadedText), or a joined text.
template <bool kLoadedText>
LaidOutText LayOut(std::string_view Source, std::string_view mark, IndentUnit unit,
                   TrailingBytes trailing, Cutting cutting, SourceRelease release = {},
                   BlockFacts* blocks = nullptr) {
  CheckSourceSize(static_cast<std::int64_t>(Source.size()));
  std::vector<std::int32_t> case_stack;
  VerbatimRegionFinder regions(Source, unit);
  if (blocks != nullptr) blocks->Start(Source);
  release.CountLinesFor(blocks);
  LayoutState state(Source, mark, unit, case_stack, regions, kLoadedText,
                    trailing != TrailingBytes::kKept,
                    trailing == TrailingBytes::kTrimmedAndCollapsed, blocks);
  // Called directly, not through a pointer, so that the whole step for a
  // token is inlined into this loop.
  if constexpr (kLoadedText) {
    const Cutting chosen = ChosenCutting(cutting, Source.size());
    const std::unique_ptr<TokensCutAhead> ahead =
        chosen == Cutting::kAhead ? TokensCutAhead::Start(Source) : nullptr;
    LongTokenRelease long_tokens{release, regions};
    if (chosen != Cutting::kInLoop) {
      state.Output.SetSourcePassedHook({&LongTokenRelease::Passed, &long_tokens});
    }
    if (ahead != nullptr) {
      LayOutTokensCutAhead(state, *ahead, release);
    } else if (chosen == Cutting::kInLoop) {
      while (LayOutNextTokenOfLoadedText(state)) {
      }
    } else {
      LayOutTokensCutByTable(state, release);
    }
  } else {
    while (LayOutNextTokenOfJoinedText(state)) {
    }
  }
  NoteTextEnd(state);
  std::string text = state.Output.Take();
  std::vector<VerbatimRegion> found = regions.Finish(text);
  if (blocks != nullptr) {
    // A region that runs to the end of the text had no "on".
    const bool open_region = !found.empty() && found.back().output_end == VerbatimRegion::kToTheEnd;
    const std::size_t region_start =
        open_region ? static_cast<std::size_t>(found.back().source.data() - Source.data()) : 0;
    blocks->Finish(open_region ? &region_start : nullptr);
  }
  return {std::move(text), state.NextPassMayDiffer, std::move(found)};
}

std::string_view ByteOrderMarkOf(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? kByteOrderMark : "";
}

}  // namespace

std::string LayoutPass(std::string_view Source, IndentUnit unit, TrailingBytes trailing) {
  const std::string_view mark = ByteOrderMarkOf(Source);
  Source.remove_prefix(mark.size());
  return LayOut<false>(Source, mark, unit, trailing, Cutting::kInLoop).text;
}

LaidOutText LayOutLines(std::string_view text, IndentUnit unit, TrailingBytes trailing,
                        Cutting cutting, SourceRelease release, BlockFacts* blocks) {
  if (!text.empty() && !line_breaks_detail::IsBreak(text.back())) {
    std::string ended(text);
    ended += "\r\n";
    LaidOutText laid_out = LayOutLines(ended, unit, trailing, cutting, {}, blocks);
    // The regions' lines are the caller's; the line end added for the cut
    // is the one the finishing pass gives every last line.
    for (VerbatimRegion& region : laid_out.regions) {
      const std::size_t offset =
          std::min(static_cast<std::size_t>(region.source.data() - ended.data()), text.size());
      region.source = text.substr(offset, std::min(region.source.size(), text.size() - offset));
    }
    return laid_out;
  }
  const std::string_view mark = ByteOrderMarkOf(text);
  text.remove_prefix(mark.size());
  return LayOut<true>(text, mark, unit, trailing, cutting, release, blocks);
}

}  // namespace vemra
