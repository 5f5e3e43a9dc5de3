#include "bench/dense_program.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/program_generator.h"
#include "formatter/next_token.h"

namespace vemra {
namespace {

// The tokens the layout receives from a text as it was loaded, a line end
// counted as its CR and its LF token.
std::vector<std::string_view> LoadedTokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  TokenRule rule = TokenRule::kOneByte;
  for (std::size_t at = 0;;) {
    const std::string_view token = CutNextLineToken(text, at, rule);
    if (token.empty()) return tokens;
    if (token == kLineEndTokens) {
      tokens.push_back(token.substr(0, 1));
      tokens.push_back(token.substr(1));
    } else {
      tokens.push_back(token);
    }
  }
}

std::string Ended(std::string text) {
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  return text;
}

// The benchmark's token-dense input is the realistic program with only its
// gaps rewritten: the same tokens, the same letter case, every construct,
// at about 0.29 tokens per byte instead of 0.22.
TEST(DenseProgramTest, HoldsTheTokensOfItsProgramMoreDensely) {
  for (const std::uint64_t seed : {1, 20261207}) {
    const std::string dense = Ended(GenerateDenseProgram(seed, 1000 * 1000));
    const std::string program = Ended(GenerateProgram(seed, 1000 * 1000 / 100 * 132));
    const std::vector<std::string_view> tokens = LoadedTokens(dense);
    EXPECT_EQ(tokens, LoadedTokens(program)) << "seed " << seed;
    const double per_byte = static_cast<double>(tokens.size()) / static_cast<double>(dense.size());
    EXPECT_GT(per_byte, 0.27) << "seed " << seed;
    EXPECT_LT(per_byte, 0.31) << "seed " << seed;
    EXPECT_NEAR(static_cast<double>(dense.size()), 1e6, 0.1e6) << "seed " << seed;
    EXPECT_EQ(dense, Ended(GenerateDenseProgram(seed, 1000 * 1000)));
  }
}

}  // namespace
}  // namespace vemra
