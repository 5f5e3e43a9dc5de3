#include "bench/source_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bench/random_source.h"
#include "formatter/next_token.h"

namespace vemra {
namespace {

// The writer leaves the blank out between some tokens; the tokens must still
// read back as they were written, whatever the spacing it chose.
TEST(SourceWriterTest, SpacingNeverChangesTheTokens) {
  struct Pair {
    std::string_view left, right;
  } pairs[] = {
      {"x", "y"},     {"1E", "-"},    {"2.5e", "+"}, {"+", "+"},     {"-", "-"},
      {"-", "1"},     {"/", "/"},     {"/", "*"},    {"*", "/"},     {"#13", "a"},
      {"#13", "#10"}, {"<", ">"},     {"<", "="},    {"=", "="},     {"!", "="},
      {"@", "@"},     {"|", "="},     {"^", "^"},    {"x", "("},     {"f", "("},
      {")", "x"},     {"a", ","},     {",", "b"},    {"name$", "x"}, {"x", ":"},
      {"'a'", "'b'"}, {"a", "'b'"},   {"&", "="},    {"&", "x"},     {"~", "="},
      {"a", ".5"},    {"3", ".5"},    {"::", "b"},   {"a", "::"},    {"x", "["},
      {"#id", "42"},  {"else", "if"}, {"=", "not"},  {"{ a }", "b"}, {"\"s\"", "\"t\""},
  };
  for (const Pair& pair : pairs) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
      RandomSource random(seed);
      std::string text;
      SourceWriter writer(random, text);
      writer.Token(pair.left);
      writer.Token(pair.right);
      std::vector<std::string_view> got;
      std::int32_t position = 1;
      const auto length = static_cast<std::int32_t>(text.size());
      while (position <= length) {
        std::string_view token = NextToken(text, position, length);
        if (!token.empty()) got.push_back(token);
      }
      // A marker takes the token after it; everything else comes back whole.
      std::vector<std::string_view> expected{pair.left, pair.right};
      if (pair.left == "#id") expected.clear();
      EXPECT_EQ(got, expected) << "[" << text << "]";
    }
  }
}

TEST(SourceWriterTest, IndentationFollowsTheBlocksMostOfTheTime) {
  RandomSource random(5);
  std::string text;
  SourceWriter writer(random, text);
  writer.Nest();
  writer.Nest();
  for (int i = 0; i < 200; ++i) {
    writer.Token("x");
    writer.EndLine();
  }
  // Lines start with indentation, and at least one line's indentation is off.
  std::size_t indented = 0, unindented = 0;
  for (std::size_t at = 0; (at = text.find('x', at)) != std::string::npos; ++at) {
    (at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t')) ? ++indented : ++unindented;
  }
  EXPECT_GT(indented, 150u);
  EXPECT_GT(unindented, 0u);
}

}  // namespace
}  // namespace vemra
