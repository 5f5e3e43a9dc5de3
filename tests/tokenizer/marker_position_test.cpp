// The "#id" marker, where NextToken leaves SourcePos, and the end of the text.
#include <cstdint>
#include <string>

#include "tests/tokenizer/token_cases.h"

namespace vemra {
namespace {

TEST(Marker, RemovesItselfAndTheTokenAfterIt) {
  ExpectTokens({
      {"#id 42 x", {"x"}},
      {"#ID 7 x", {"x"}},
      {"#Id 7 x", {"x"}},
      {"#iD 7 x", {"x"}},
      {"#id #id 1 2 x", {"x"}},
      {"#id#id 1 2 3", {"3"}},
      {"#id42 x", {"x"}},
      {"#id 1 2", {"2"}},
      {"#id\r\ny", {"\n", "y"}},
      {"a #id \"b c\" d", {"a", "d"}},
      {"#id /* x\r\n */ y", {"y"}},
      {"#id {a #id b} c", {"c"}},
      {"#id # x", {"x"}},
  });
}

TEST(Marker, OnlyTheWholeHashTokenIsAMarker) {
  ExpectTokens({
      {"#idx 5", {"#idx", "5"}},
      {"#i d", {"#i", "d"}},
      {"#i_d x", {"#i_d", "x"}},
      {"'#id' x", {"'#id'", "x"}},
      {"// #id\r\nx", {"// #id", "\r", "\n", "x"}},
  });
}

TEST(Marker, TextEndingBeforeTheRemovedTokens) {
  ExpectTokens({
      {"#id", {}},
      {"#id   ", {}},
      {"#id 1", {}},
      {"#id #id 1", {}},
      {"a #id", {"a"}},
  });
}

// Long runs of markers need constant stack: a million of them, with and
// without the tokens they remove.
TEST(Marker, AMillionMarkersInARow) {
  constexpr int kMarkers = 1'000'000;
  std::string markers;
  for (int i = 0; i < kMarkers; ++i) markers += (i % 2 ? "#ID " : "#id");
  std::string removed;
  for (int i = 0; i < kMarkers; ++i) removed += "1 ";

  EXPECT_EQ(TokenTexts(markers + removed + "x y"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(TokenTexts(markers + removed), std::vector<std::string>{});
  EXPECT_EQ(TokenTexts(markers), std::vector<std::string>{});

  const std::string text = markers + "\r\n";
  std::int32_t pos = 1;
  const auto len = static_cast<std::int32_t>(text.size());
  EXPECT_EQ(NextToken(text, pos, len), "");
  EXPECT_EQ(pos, len + 1);
}

TEST(Nesting, AMillionOpenBracesAreOneToken) {
  const std::string braces(1'000'000, '{');
  const auto tokens = CutTokens(braces + "}}");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].size(), braces.size() + 2);
}

struct PositionCase {
  std::string source;
  std::int32_t pos;  // SourcePos on entry
  std::int32_t len;  // SourceLen
  std::string token;
  std::int32_t pos_after;
};

void ExpectPositions(const std::vector<PositionCase>& cases) {
  for (const PositionCase& c : cases) {
    std::int32_t pos = c.pos;
    const std::string where = '"' + Visible(c.source) + "\" from " + std::to_string(c.pos) +
                              " up to " + std::to_string(c.len);
    EXPECT_EQ(NextToken(c.source, pos, c.len), c.token) << where;
    EXPECT_EQ(pos, c.pos_after) << where;
  }
}

TEST(NextTokenPosition, StartsAfterBlanksAndStopsBehindTheToken) {
  const std::vector<PositionCase> cases = {
      {"ab cd", 1, 5, "ab", 3},
      {"ab cd", 3, 5, "cd", 6},
      {"ab cd", 4, 5, "cd", 6},
      {"label:", 1, 6, "label", 6},  // the ":" is given back
      {"label:", 6, 6, ":", 7},
      {"#id 1 x", 1, 7, "x", 8},
      {"a\r\n", 2, 3, "\r", 3},
      // The end of the text: the empty token.
      {"", 1, 0, "", 1},
      {"   ", 1, 3, "", 4},
      {"a  ", 2, 3, "", 4},
      {"#id 1 ", 1, 6, "", 7},
      {"ab", 3, 2, "", 3},
      {"ab", 5, 2, "", 5},  // already beyond: left unchanged
  };
  ExpectPositions(cases);
}

// Nothing past SourceLen is read, nor past the text when SourceLen is
// larger than it, and a position below 1 starts at the first byte.
TEST(NextTokenPosition, ReadsOnlyTheAllowedBytes) {
  const std::vector<PositionCase> cases = {
      {"abcdef", 1, 3, "abc", 4}, {"/* abc */", 1, 4, "/* a", 5}, {"'abc'", 1, 3, "'ab", 4},
      {"{a}", 1, 2, "{a", 3},     {"<=", 1, 1, "<", 2},           {"ab:", 1, 2, "ab", 3},
      {"a  b", 1, 3, "a", 2},     {"a  b", 2, 3, "", 4},          {"abcdef", 2, 0, "", 2},
      {"ab", 1, 10, "ab", 3},     {"ab", 3, 10, "", 11},          {"ab", 0, 2, "ab", 3},
      {"ab", -5, 2, "ab", 3},
  };
  ExpectPositions(cases);
}

}  // namespace
}  // namespace vemra
