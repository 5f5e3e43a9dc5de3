// The token loop works out a token's facts from the rule that cut it; they
// must be exactly the facts worked out from the token's bytes alone.
#include "formatter/token_facts.h"

#include <random>
#include <string>
#include <vector>

#include "formatter/next_token.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

// Words of every role in mixed case, numbers with and without an exponent
// mark, names with sigils and "&", and the short operators with facts of
// their own.
const std::vector<std::string_view> kPieces = {
    "end",  "END",  "Proc", "#define", "#Object", "and",   "NOT", "read", "x",        "n$",
    "i%",   "a1",   "_",    ".5",      "\\x",     "&h",    "&",   "1e",   "12E",      "1",
    "0x1F", "3.14", "1e-5", "#13",     "#",       "#id",   "++",  "--",   "-=",       "/=",
    "::",   ":",    "//c",  "/*c*/",   "'s'",     "\"s\"", "{b}", "@@",   "\x8B\x9B", "<>",
    "|=",   " ",    "\t",   "\r\n",    "\n",      "\r"};

TEST(TokenFacts, FactsOfTheCuttingRuleEqualFactsOfTheBytes) {
  std::vector<std::string> texts;
  for (int c = 0; c < 256; ++c) texts.push_back(std::string(1, static_cast<char>(c)) + "\n");
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int pieces = static_cast<int>(random() % 12);
    for (int i = 0; i < pieces; ++i) text += kPieces[random() % kPieces.size()];
    texts.push_back(text + "\n");
  }
  for (const std::string& text : texts) {
    std::size_t at = 0;
    TokenRule rule = TokenRule::kOneByte;
    for (std::string_view token = CutNextLineToken(text, at, rule); !token.empty();
         token = CutNextLineToken(text, at, rule)) {
      if (token == kLineEndTokens) continue;  // two tokens at once, not cut by any rule
      ASSERT_EQ(FactsOfCut(token, rule), FactsOf(token))
          << ToNotation(token) << " in " << ToNotation(text);
    }
  }
}

}  // namespace
}  // namespace vemra
