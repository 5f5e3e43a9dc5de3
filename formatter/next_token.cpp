// The tokenizer's interface over the cutting rules of token_cutting.h.
#include "formatter/next_token.h"

#include <algorithm>
#include <limits>

#include "base/failures.h"
#include "formatter/token_cutting.h"

namespace vemra {

using token_cutting::CutKeptToken;
using token_cutting::LineEnd;

std::string_view CutNextToken(std::string_view text, std::size_t& at) {
  TokenRule rule = TokenRule::kOneByte;
  SixteenByteRuns runs;
  return CutKeptToken<LineEnd::kCarriageReturn>(text, at, rule, runs);
}

std::string_view CutNextLineToken(std::string_view text, std::size_t& at, TokenRule& rule) {
  SixteenByteRuns runs;
  return CutKeptToken<LineEnd::kAnyBreak>(text, at, rule, runs);
}

std::string_view NextToken(std::string_view Source, std::int32_t& SourcePos,
                           std::int32_t SourceLen) {
  if (SourcePos > SourceLen) return {};
  // Only the first SourceLen bytes may be read, and never more than the text
  // holds; every rule works on this prefix alone.
  const auto readable = std::clamp<std::int64_t>(SourceLen, 0, std::ssize(Source));
  const std::string_view text = Source.substr(0, static_cast<std::size_t>(readable));
  std::size_t at = SourcePos < 1 ? 0 : static_cast<std::size_t>(SourcePos - 1);
  const std::string_view token = CutNextToken(text, at);
  SourcePos = token.empty() ? SourceLen + 1 : static_cast<std::int32_t>(at + 1);
  return token;
}

std::vector<std::string_view> CutTokens(std::string_view text) {
  // SourcePos must be able to pass the last position.
  if (text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw ETextTooLarge("Text too large to cut into tokens");
  }
  const auto len = static_cast<std::int32_t>(text.size());
  std::vector<std::string_view> tokens;
  std::int32_t pos = 1;
  while (pos <= len) {
    const std::string_view token = NextToken(text, pos, len);
    if (!token.empty()) tokens.push_back(token);
  }
  return tokens;
}

}  // namespace vemra
