// The token loop works out a token's facts from the rule that cut it; they
// must be exactly the facts worked out from the token's bytes alone.
#include "formatter/token_facts.h"

#include <random>
#include <string>
#include <vector>

#include "formatter/next_token.h"
#include "formatter/tokens_cut_ahead.h"
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

// The thread that cuts ahead hands over each token's facts with it: they
// must be the facts of its bytes, over batches and their seams.
TEST(TokenFacts, FactsCutAheadEqualFactsOfTheBytes) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    std::string text;
    while (text.size() < 20000) {
      text += kPieces[random() % kPieces.size()];
      if (random() % 3 == 0) text += ' ';
    }
    const std::unique_ptr<TokensCutAhead> tokens = TokensCutAhead::Start(text);
    ASSERT_NE(tokens, nullptr);
    std::size_t checked = 0;
    for (auto batch = tokens->NextBatch(); !batch.empty(); batch = tokens->NextBatch()) {
      const TokenFacts* const facts = tokens->FactsOfBatch();
      for (std::size_t i = 0; i < batch.size(); ++i) {
        const std::string_view token = batch[i].View();
        if (token[0] == '\r') continue;  // a line end, laid out without its facts
        ASSERT_EQ(facts[i], FactsOf(token)) << ToNotation(token) << " in round " << round;
        ++checked;
      }
    }
    ASSERT_GT(checked, 2000u);
  }
}

}  // namespace
}  // namespace vemra
