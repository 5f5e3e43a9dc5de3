#include "formatter/table_cutter.h"

#include <algorithm>

#include "formatter/next_token.h"
#include "formatter/text_size_limit.h"

namespace vemra {

using cut_states::kTooDeep;
using cut_states::StateOf;
using token_cutting::LineEnd;

template <LineEnd kEnds>
TableCutter<kEnds>::TableCutter(std::string_view text, CutterShape shape)
    : text_(text),
      stretch_(std::max<std::size_t>(shape.stretch, 1)),
      scan_(shape.lanes, shape.shortest_lane),
      start_(text.data()) {
  CheckTextSize(static_cast<std::int64_t>(text.size()));
}

template <LineEnd kEnds>
std::size_t TableCutter<kEnds>::Fill(std::span<CutTokenRecord> records) {
  CutTokenRecord* out = records.data();
  CutTokenRecord* const end = records.data() + records.size();
  // A boundary closes at most two tokens: a word and the ":" it gives back.
  while (end - out >= 2) {
    if (run_ < runs_.size()) {
      const BoundaryRun& run = runs_[run_];
      const std::size_t count =
          std::min(run.count - in_run_, static_cast<std::size_t>(end - out) / 2);
      out = CloseTokens(run.base, run.offsets + in_run_, count, out);
      in_run_ += count;
      if (in_run_ == run.count) {
        ++run_;
        in_run_ = 0;
      }
    } else if (StateOf(state_) == kTooDeep) {
      out = CutDeepBraceGroup(out);
    } else if (scanned_ < text_.size()) {
      ScanNextStretch();
    } else {
      if (started_) out = Close(start_, text_.data() + text_.size(), true, out);
      started_ = false;
      break;
    }
  }
  return static_cast<std::size_t>(out - records.data());
}

template <LineEnd kEnds>
void TableCutter<kEnds>::ScanNextStretch() {
  const std::size_t to = std::min(text_.size(), scanned_ + stretch_);
  state_ = scan_.Scan(text_, scanned_, to, state_);
  scanned_ = to;
  runs_ = scan_.Runs();
  run_ = 0;
  in_run_ = 0;
}

// Each boundary ends the token or gap in front of it and starts a token, or
// a gap when it is a blank.
template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CloseTokens(const char* base, const std::int32_t* offsets,
                                                std::size_t count, CutTokenRecord* out) {
  const char* start = start_;
  bool started = started_;
  for (std::size_t i = 0; i < count; ++i) {
    const char* const boundary = base + offsets[i];
    out = Close(start, boundary, started, out);
    started = cut_states::kByteKindOf[static_cast<unsigned char>(*boundary)] != cut_states::kBlank;
    start = boundary;
  }
  start_ = start;
  started_ = started;
  return out;
}

// Writes the token [start, end) when started, and keeps it unless it is a
// rare one. The record is written either way, so that only the rare
// tokens branch.
template <LineEnd kEnds>
[[gnu::always_inline]] inline CutTokenRecord* TableCutter<kEnds>::Close(const char* start,
                                                                        const char* end,
                                                                        bool started,
                                                                        CutTokenRecord* out) {
  const char first = *start;
  // Between tokens start may be the text's first byte and end too; then the
  // byte at end stands in for the last one.
  const char last = end[-static_cast<std::ptrdiff_t>(started)];
  const TokenRule rule = RuleFor(first);
  const auto size = static_cast<std::uint32_t>(end - start);
  if constexpr (kEnds == LineEnd::kAnyBreak) {
    const bool line_end = (first == '\r') | (first == '\n');
    *out = {line_end ? kLineEndTokens.data() : start, line_end ? 2 : size, rule};
  } else {
    *out = {start, size, rule};
  }
  const bool rare = (to_drop_ != 0) | (first == '#') | ((last == ':') & (rule == TokenRule::kWord));
  if (started & rare) [[unlikely]] {
    return CloseRare(start, end, rule, out);
  }
  return out + started;
}

template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CloseRare(const char* start, const char* end, TokenRule rule,
                                              CutTokenRecord* out) {
  if (rule == TokenRule::kWord && end[-1] == ':') {
    // A word's first byte is never ":", so the word stays.
    out = Keep(start, end - 1, rule, out);
    return Keep(end - 1, end, TokenRule::kColon, out);
  }
  return Keep(start, end, rule, out);
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
// started last is that group. The plain rule cuts it, and the walk goes on
// behind it.
template <LineEnd kEnds>
CutTokenRecord* TableCutter<kEnds>::CutDeepBraceGroup(CutTokenRecord* out) {
  const auto group = static_cast<std::size_t>(start_ - text_.data());
  const std::size_t end = token_cutting::CutBraceGroup(text_, group);
  out = Close(start_, text_.data() + end, true, out);
  started_ = false;
  scanned_ = end;
  state_ = cut_states::RowOf(cut_states::kBetween);
  runs_ = {};
  return out;
}

template class TableCutter<LineEnd::kCarriageReturn>;
template class TableCutter<LineEnd::kAnyBreak>;

}  // namespace vemra
