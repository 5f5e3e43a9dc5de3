// Cuts arbitrary bytes into tokens. The text lies in a buffer of its exact
// size, so AddressSanitizer reports any read past its end; every byte between
// two tokens must be a blank, a TAB, a marker or a token a marker removed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "formatter/next_token.h"
#include "fuzz/format_invariants.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "tokenizer fault: %s\n", what);
  std::abort();
}

// Reads the gap [from, to) with the tokenizer's own rules, marker rule aside:
// blanks, markers, and as many removed tokens as markers were seen.
void CheckGap(std::string_view text, std::int32_t from, std::int32_t to) {
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t pending = 0;
  std::int32_t pos = from;
  while (pos < to) {
    const char c = text[static_cast<std::size_t>(pos - 1)];
    if (c == ' ' || c == '\t') {
      ++pos;
      continue;
    }
    if (vemra::MarkerAt(text, static_cast<std::size_t>(pos - 1))) {
      ++pending;
      pos += 3;
      continue;
    }
    if (pending == 0) Fail("bytes between tokens that no marker removed");
    std::int32_t next = pos;
    const std::string_view removed = vemra::NextToken(text, next, length);
    if (removed.empty() || next > to) Fail("a removed token reaches into the next token");
    --pending;
    pos = next;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto buffer = std::make_unique<char[]>(size);
  std::copy(data, data + size, buffer.get());
  const std::string_view text(buffer.get(), size);
  const auto length = static_cast<std::int32_t>(size);

  std::int32_t pos = 1;
  while (pos <= length) {
    const std::int32_t before = pos;
    const std::string_view token = vemra::NextToken(text, pos, length);
    if (pos <= before) Fail("no progress");
    if (token.empty()) {
      if (pos != length + 1) Fail("empty token before the end");
      CheckGap(text, before, pos);
      break;
    }
    if (token.data() < text.data() || token.data() + token.size() > text.data() + size) {
      Fail("token outside the text");
    }
    const auto start = static_cast<std::int32_t>(token.data() - text.data()) + 1;
    if (start + static_cast<std::int32_t>(token.size()) != pos)
      Fail("position not behind the token");
    CheckGap(text, before, start);
  }
  return 0;
}
