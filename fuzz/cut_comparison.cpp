#include "fuzz/cut_comparison.h"

#include <algorithm>
#include <vector>

#include "formatter/block_runs.h"
#include "formatter/next_token.h"

namespace vemra {

namespace {

using token_cutting::LineEnd;

// A token as both cutters give it: where it starts (an offset into the
// text, or, below 0, which of a line end's tokens it is), its size and its
// rule. A line end's tokens are compared by their bytes: each part of the
// program may see the literal they point into at an address of its own.
struct Cut {
  std::ptrdiff_t at;
  std::size_t size;
  TokenRule rule;

  bool operator==(const Cut&) const = default;
};

constexpr std::ptrdiff_t kLineEnd = -1;
constexpr std::ptrdiff_t kLineFeedAlone = -2;
constexpr std::ptrdiff_t kOutsideTheText = -3;

Cut CutOf(std::string_view text, std::string_view token, TokenRule rule) {
  std::ptrdiff_t at = kOutsideTheText;
  if (token.data() >= text.data() && token.data() < text.data() + text.size()) {
    at = token.data() - text.data();
  } else if (token == kLineEndTokens) {
    at = kLineEnd;
  } else if (token == kLineEndTokens.substr(1)) {
    at = kLineFeedAlone;
  }
  return {at, token.size(), rule};
}

template <LineEnd kEnds>
std::vector<Cut> PlainCuts(std::string_view text) {
  std::vector<Cut> cuts;
  SixteenByteRuns runs;
  std::size_t at = 0;
  for (;;) {
    TokenRule rule = TokenRule::kOneByte;
    const std::string_view token = token_cutting::CutKeptToken<kEnds>(text, at, rule, runs);
    if (token.empty()) return cuts;
    cuts.push_back(CutOf(text, token, rule));
  }
}

template <LineEnd kEnds>
std::vector<Cut> TableCuts(std::string_view text, const CutterShape& shape, std::size_t room) {
  std::vector<Cut> cuts;
  TableCutter<kEnds> cutter(text, shape);
  std::vector<CutTokenRecord> records(std::max(room, TableCutter<kEnds>::kFewestRecords));
  while (const std::size_t count = cutter.Fill(records)) {
    for (std::size_t i = 0; i < count; ++i) {
      cuts.push_back(CutOf(text, records[i].View(), records[i].rule));
    }
  }
  return cuts;
}

std::string Describe(const std::vector<Cut>& cuts, std::size_t index) {
  if (index >= cuts.size()) return "none";
  const Cut& cut = cuts[index];
  return "at " + std::to_string(cut.at) + ", " + std::to_string(cut.size) + " bytes, rule " +
         std::to_string(static_cast<int>(cut.rule));
}

template <LineEnd kEnds>
std::string Compare(std::string_view text, const CutterShape& shape, std::size_t room) {
  const std::vector<Cut> plain = PlainCuts<kEnds>(text);
  const std::vector<Cut> table = TableCuts<kEnds>(text, shape, room);
  const auto [p, t] = std::mismatch(plain.begin(), plain.end(), table.begin(), table.end());
  if (p == plain.end() && t == table.end()) return "";
  const auto index = static_cast<std::size_t>(p - plain.begin());
  return std::string(kEnds == LineEnd::kAnyBreak ? "loaded" : "joined") + " text, lanes " +
         std::to_string(shape.lanes) + ", shortest lane " + std::to_string(shape.shortest_lane) +
         ", stretch " + std::to_string(shape.stretch) + ", room " + std::to_string(room) +
         ": token " + std::to_string(index) + " is " + Describe(table, index) + ", not " +
         Describe(plain, index);
}

}  // namespace

std::string CompareWithPlainCut(std::string_view text, const CutterShape& shape, std::size_t room) {
  std::string difference = Compare<LineEnd::kCarriageReturn>(text, shape, room);
  if (difference.empty()) difference = Compare<LineEnd::kAnyBreak>(text, shape, room);
  return difference;
}

}  // namespace vemra
