#include "textutil/replace_all.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "textutil/find_from.h"
#include "textutil/position_block.h"

namespace vemra {

namespace {

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();

[[noreturn]] void ThrowOverflow() {
  throw std::overflow_error("Integer overflow");
}

// Phase one: every match position, searching the unchanged text left to right
// and resuming right behind each match, so matches never overlap.
void CollectMatches(std::string_view text, std::string_view pattern, PositionBlock& block) {
  const auto pattern_length = static_cast<std::int64_t>(pattern.size());
  std::int64_t offset = 1;
  while (offset <= kMaxInt32) {
    const std::int32_t position = FindFrom(text, pattern, static_cast<std::int32_t>(offset));
    if (position == 0) break;
    block.Append(position);
    offset = position + pattern_length;
  }
}

// Phase two: the result in one allocation of its exact length, filled with
// block copies of the unchanged stretches and of the replacement.
std::string BuildReplaced(std::string_view text, std::size_t pattern_length,
                          std::string_view replacement, const PositionBlock& block,
                          std::size_t new_length) {
  std::string result(new_length, '\0');
  char* out = result.data();
  std::size_t source = 0;
  for (const std::int32_t position : block) {
    const std::size_t match = static_cast<std::size_t>(position) - 1;
    std::memcpy(out, text.data() + source, match - source);
    out += match - source;
    if (!replacement.empty()) std::memcpy(out, replacement.data(), replacement.size());
    out += replacement.size();
    source = match + pattern_length;
  }
  std::memcpy(out, text.data() + source, text.size() - source);
  return result;
}

}  // namespace

std::int32_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) return 0;
  if (text.size() > static_cast<std::size_t>(kMaxInt32) ||
      replacement.size() > static_cast<std::size_t>(kMaxInt32)) {
    ThrowOverflow();
  }
  PositionBlock block;
  CollectMatches(text, pattern, block);
  if (block.Count() == 0) return 0;
  const std::int64_t new_length =
      static_cast<std::int64_t>(text.size()) +
      (static_cast<std::int64_t>(replacement.size()) - static_cast<std::int64_t>(pattern.size())) *
          block.Count();
  if (new_length > kMaxInt32) ThrowOverflow();
  text =
      BuildReplaced(text, pattern.size(), replacement, block, static_cast<std::size_t>(new_length));
  return block.Count();
}

}  // namespace vemra
