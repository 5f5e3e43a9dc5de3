// Cutting any byte string: the tokens are contiguous views inside the
// readable prefix, in order, and what lies between them is only blanks, or
// "#id" markers with the tokens they remove.
#include <cstdint>
#include <random>
#include <string>

#include "tests/tokenizer/token_cases.h"

namespace vemra {
namespace {

using namespace std::string_literals;

// Pieces that open, close or join constructs, so that random texts hit the
// rules' boundaries far more often than uniform bytes would.
const std::vector<std::string> kPieces = {
    "#id", "#ID",  "#iD",  " ", "\t", "\r\n", "\r", "\n", "/*", "*/",  "//",   "/",   "*", "{", "}",
    "'",   "\"",   "\\",   ":", "::", "$",    "%",  "e-", "E+", "0x",  "1",    "a",   "_", ".", "&",
    "#",   "\x8B", "\x9B", "@", "|=", "<<",   "!=", "++", "~",  "\0"s, "\x80", "\xFF"};

std::string RandomText(std::mt19937& rng, std::size_t length) {
  std::uniform_int_distribution<int> coin(0, 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::string text;
  while (text.size() < length) {
    if (coin(rng)) {
      text += static_cast<char>(byte(rng));
    } else {
      text += kPieces[piece(rng)];
    }
  }
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool IsLetterOrUnderscore(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// A token that starts at `at` and is exactly "#id" in any case.
bool IsMarkerAt(std::string_view text, std::size_t at) {
  return at + 3 <= text.size() && text[at] == '#' && Lower(text[at + 1]) == 'i' &&
         Lower(text[at + 2]) == 'd' &&
         (at + 3 == text.size() || !IsLetterOrUnderscore(text[at + 3]));
}

// Walks text[from, to): blanks, markers, and as many removed tokens as the
// markers ask for. Between two returned tokens no removal may be left over.
void ExpectOnlyMarkersAndBlanks(std::string_view text, std::size_t from, std::size_t to,
                                bool reaches_end) {
  std::size_t owed = 0;
  std::size_t at = from;
  for (;;) {
    while (at < to && IsBlank(text[at])) ++at;
    if (at == to) break;
    if (IsMarkerAt(text, at)) {
      ++owed;
      at += 3;
      continue;
    }
    ASSERT_GT(owed, 0u) << "byte " << at << " lost from \"" << Visible(text) << '"';
    std::int32_t pos = static_cast<std::int32_t>(at) + 1;
    const std::string_view removed = NextToken(text, pos, static_cast<std::int32_t>(text.size()));
    ASSERT_EQ(removed.data(), text.data() + at);
    ASSERT_LE(at + removed.size(), to);
    at += removed.size();
    --owed;
  }
  ASSERT_LE(at, to);
  if (!reaches_end) {
    EXPECT_EQ(owed, 0u) << "\"" << Visible(text) << '"';
  }
}

// Cuts the text as the layout pass does, checking every call's token and
// SourcePos, then the gaps between the tokens.
void ExpectSoundCut(std::string_view text) {
  const auto len = static_cast<std::int32_t>(text.size());
  std::size_t done = 0;  // offset just behind the previous token
  std::int32_t pos = 1;
  while (pos <= len) {
    const std::string_view token = NextToken(text, pos, len);
    if (token.empty()) {
      ASSERT_EQ(pos, len + 1) << "\"" << Visible(text) << '"';
      break;
    }
    ASSERT_GE(token.data(), text.data() + done) << "\"" << Visible(text) << '"';
    ASSERT_LE(token.data() + token.size(), text.data() + text.size());
    const auto start = static_cast<std::size_t>(token.data() - text.data());
    ASSERT_EQ(pos, static_cast<std::int32_t>(start + token.size()) + 1);
    ExpectOnlyMarkersAndBlanks(text, done, start, false);

    // Stateless: starting again at the token gives the same token.
    auto again = static_cast<std::int32_t>(start) + 1;
    ASSERT_EQ(NextToken(text, again, len).data(), token.data());
    done = start + token.size();
  }
  ExpectOnlyMarkersAndBlanks(text, done, text.size(), true);
}

TEST(RandomBytes, CutsAreSoundAndStayInsideTheReadablePrefix) {
  std::mt19937 rng(20240607);
  std::uniform_int_distribution<std::size_t> length(0, 300);
  // Bytes behind the prefix that would lengthen any open construct if read.
  const std::string beyond =
      "}'\"*/\x9B"
      "abc::#id 1 2\r\n"s;
  for (int round = 0; round < 3000; ++round) {
    const std::string buffer = RandomText(rng, length(rng)) + beyond;
    const std::string_view text(buffer.data(), buffer.size() - beyond.size());
    ExpectSoundCut(text);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace vemra
