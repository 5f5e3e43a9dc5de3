#include "formatter/table_cutter.h"

#include <algorithm>
#include <array>

#include "formatter/next_token.h"
#include "formatter/text_size_limit.h"

namespace vemra {

using cut_states::kTooDeep;
using cut_states::StateOf;
using token_cutting::LineEnd;

namespace {

constexpr std::size_t kFirstStretchAfterDeepGroup = 32;
// A stretch's boundaries are 32-bit offsets.
constexpr std::size_t kLongestStretch = std::size_t{1} << 30;
constexpr std::uint16_t kNoColon = 0x100;

template <LineEnd kEnds>
constexpr std::array<TokenOpening, 256> MakeOpenings() {
  std::array<TokenOpening, 256> openings{};
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    TokenOpening& opening = openings[byte];
    opening.rule = RuleFor(c);
    opening.marker_size = c == '#' ? 3 : 0;
    opening.colon_last = opening.rule == TokenRule::kWord ? ':' : kNoColon;
    opening.records = opening.rule != TokenRule::kBlank;
    opening.line_end = kEnds == LineEnd::kAnyBreak && (c == '\r' || c == '\n');
  }
  return openings;
}

template <LineEnd kEnds>
constexpr std::array<TokenOpening, 256> kOpenings = MakeOpenings<kEnds>();

template <LineEnd kEnds>
const TokenOpening* OpeningOf(char c) {
  return &kOpenings<kEnds>[static_cast<unsigned char>(c)];
}

}  // namespace

template <LineEnd kEnds>
TableCutter<kEnds>::TableCutter(std::string_view text, CutterShape shape)
    : text_(text),
      stretch_(std::clamp<std::size_t>(shape.stretch, 1, kLongestStretch)),
      next_stretch_(stretch_),
      scan_(shape.lanes, shape.shortest_lane, std::min(stretch_, text.size())),
      start_(text.data()),
      opening_(OpeningOf<kEnds>(' ')) {
  CheckSourceSize(static_cast<std::int64_t>(text.size()));
}

template <LineEnd kEnds>
std::size_t TableCutter<kEnds>::Fill(std::span<CutTokenRecord> records) noexcept {
  CutTokenRecord* out = records.data();
  CutTokenRecord* const end = records.data() + records.size();
  // A boundary closes at most two tokens: a word and the ":" it gives back.
  while (end - out >= 2) {
    if (run_ < runs_.size()) {
      const BoundaryRun& run = runs_[run_];
      out = CloseTokens(run, out, end);
      if (in_run_ == run.count) {
        ++run_;
        in_run_ = 0;
      }
    } else if (StateOf(state_) == kTooDeep) {
      out = CutDeepBraceGroup(out);
    } else if (scanned_ < text_.size()) {
      ScanNextStretch();
    } else {
      // The last token ends with the text; a gap, or an empty text, holds
      // none.
      if (opening_->records != 0) out = Close(start_, *opening_, text_.data() + text_.size(), out);
      opening_ = OpeningOf<kEnds>(' ');
      break;
    }
  }
  return static_cast<std::size_t>(out - records.data());
}

template <LineEnd kEnds>
void TableCutter<kEnds>::ScanNextStretch() {
  const std::size_t from = scanned_;
  scanned_ = std::min(text_.size(), from + next_stretch_);
  state_ = scan_.Scan(text_, from, scanned_, state_);
  next_stretch_ = std::min(2 * next_stretch_, stretch_);
  runs_ = scan_.Runs();
  run_ = 0;
  in_run_ = 0;
  // A token at the text's first byte: taken here, so that every boundary
  // the loop reads has a byte in front of it.
  const BoundaryRun& first = runs_[0];
  if (from == 0 && first.count > 0 && first.base + first.offsets[0] == text_.data()) {
    opening_ = OpeningOf<kEnds>(text_[0]);
    in_run_ = 1;
  }
}

// Each boundary ends the token or gap in front of it and starts a token, or
// a gap when it is a blank. Goes on through the run while there is room for
// the two records a boundary may close.
template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CloseTokens(const BoundaryRun& run, CutTokenRecord* out,
                                                const CutTokenRecord* end) {
  const char* start = start_;
  const TokenOpening* opening = opening_;
  std::size_t i = in_run_;
  for (; i < run.count && end - out >= 2; ++i) {
    const char* const boundary = run.base + run.offsets[i];
    const TokenOpening* const next = OpeningOf<kEnds>(*boundary);
    out = Close(start, *opening, boundary, out);
    start = boundary;
    opening = next;
  }
  in_run_ = i;
  start_ = start;
  opening_ = opening;
  return out;
}

// Writes the record of the token [start, end) that opening opened, and
// keeps it unless a gap opened there. The record is written either way,
// and only the tokens that need a closer look branch.
template <LineEnd kEnds>
[[gnu::always_inline]] inline CutTokenRecord* TableCutter<kEnds>::Close(const char* start,
                                                                        const TokenOpening& opening,
                                                                        const char* end,
                                                                        CutTokenRecord* out) {
  const auto size = static_cast<std::uint32_t>(end - start);
  const char* data = start;
  std::uint32_t record_size = size;
  // Line ends come every few tokens at no regular distance: a branch would
  // often guess wrong, so the compiler is told to choose without one.
  if (__builtin_expect_with_probability(opening.line_end, true, 0.5)) {
    data = kLineEndTokens.data();
    record_size = 2;
  }
  *out = {data, record_size, opening.rule};
  const bool rare = (to_drop_ != 0) | (size == opening.marker_size) |
                    (static_cast<unsigned char>(end[-1]) == opening.colon_last);
  if (rare) [[unlikely]] {
    return CloseRare(start, opening, end, out);
  }
  return out + opening.records;
}

template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CloseRare(const char* start, const TokenOpening& opening,
                                              const char* end, CutTokenRecord* out) {
  if (opening.records == 0) return out;
  if (opening.rule == TokenRule::kWord && end[-1] == ':') {
    // A word's first byte is never ":", so the word stays.
    out = Keep(start, end - 1, opening.rule, out);
    return Keep(end - 1, end, TokenRule::kColon, out);
  }
  return Keep(start, end, opening.rule, out);
}

template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::Keep(const char* start, const char* end, TokenRule rule,
                                         CutTokenRecord* out) {
  const std::string_view token(start, static_cast<std::size_t>(end - start));
  if (kEnds == LineEnd::kAnyBreak && (token[0] == '\r' || token[0] == '\n')) {
    // A line end is a CR and an LF token, and a marker may remove the CR.
    if (Keeps(kLineEndTokens.substr(0, 1))) {
      *out++ = {kLineEndTokens.data(), 2, TokenRule::kOneByte};
    } else if (Keeps(kLineEndTokens.substr(1))) {
      *out++ = {kLineEndTokens.data() + 1, 1, TokenRule::kOneByte};
    }
    return out;
  }
  if (Keeps(token)) *out++ = {start, static_cast<std::uint32_t>(token.size()), rule};
  return out;
}

// A marker removes itself and the token after it; a marker among the
// removed tokens removes one more again.
template <LineEnd kEnds>
bool TableCutter<kEnds>::Keeps(std::string_view token) {
  if (token_cutting::IsMarker(token)) {
    ++to_drop_;
    return false;
  }
  if (to_drop_ == 0) return true;
  --to_drop_;
  return false;
}

// The machine gave up on a brace group nested too deep; the token that
// opened last is that group. The plain rule cuts it, and the walk goes on
// behind it.
template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CutDeepBraceGroup(CutTokenRecord* out) {
  const auto group = static_cast<std::size_t>(start_ - text_.data());
  const std::size_t end = token_cutting::CutBraceGroup(text_, group);
  out = Close(start_, *opening_, text_.data() + end, out);
  opening_ = OpeningOf<kEnds>(' ');
  scanned_ = end;
  state_ = cut_states::RowOf(cut_states::kBetween);
  // The machine walked on past the group to the end of its stretch for
  // nothing. Where such groups follow each other, whole stretches would be
  // walked again and again: the walk starts short and grows only as far as
  // it gets without one.
  next_stretch_ = std::min<std::size_t>(kFirstStretchAfterDeepGroup, stretch_);
  runs_ = {};
  return out;
}

template class TableCutter<LineEnd::kCarriageReturn>;
template class TableCutter<LineEnd::kAnyBreak>;

}  // namespace vemra
