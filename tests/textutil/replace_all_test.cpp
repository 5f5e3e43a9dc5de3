#include "textutil/replace_all.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "textutil/find_from.h"
#include "textutil/position_block.h"

namespace vemra {
namespace {

struct ReplaceCase {
  std::string text;
  std::string pattern;
  std::string replacement;
  std::string expected;
  std::int32_t count;
};

TEST(ReplaceAll, ReplacesNonOverlappingMatchesLeftToRight) {
  const ReplaceCase cases[] = {
      {"a\tb\t", "\t", "  ", "a  b  ", 2},
      {"aaa", "aa", "b", "ba", 1},
      {"aaaa", "aa", "b", "bb", 2},
      {"\t", "\t", "\t\t", "\t\t", 1},  // inserted text is not searched again
      {"\ta\t\tb\t", "\t", "", "ab", 4},
      {"", "\t", "x", "", 0},
      {"abc", "", "x", "abc", 0},
      {"ab", "abc", "x", "ab", 0},
      {"Ab", "a", "x", "Ab", 0},  // letter case matters
      {"xyab", "ab", "Q", "xyQ", 1},
      {"abxy", "ab", "", "xy", 1},
      {"pre-ab-mid-ab-post", "ab", "ABC", "pre-ABC-mid-ABC-post", 2},
      {std::string("a\0b\0", 4), std::string(1, '\0'), "0", "a0b0", 2},
      {"\x80\xff\x80", "\x80", "\xe4", "\xe4\xff\xe4", 2},
  };
  for (const ReplaceCase& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ReplaceAll(text, c.pattern, c.replacement), c.count) << c.text;
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST(ReplaceAll, GrowsThePositionBlockPastSeveralSteps) {
  std::string text(3000, '\t');
  EXPECT_EQ(ReplaceAll(text, "\t", "    "), 3000);
  EXPECT_EQ(text, std::string(12000, ' '));
}

TEST(ReplaceAll, FailsWithOverflowWhenTheResultPassesTwoGigabytes) {
  std::string text(70000, '\t');
  const std::string replacement(40000, ' ');  // 70000 x 40000 bytes
  try {
    ReplaceAll(text, "\t", replacement);
    FAIL() << "no failure";
  } catch (const std::overflow_error& failure) {
    EXPECT_STREQ(failure.what(), "Integer overflow");
  }
  EXPECT_EQ(text, std::string(70000, '\t'));
}

TEST(PositionBlock, GrowsByWholeStepsAndKeepsItsEntries) {
  PositionBlock block;
  EXPECT_EQ(block.Capacity(), 0);
  for (std::int32_t i = 1; i <= 2049; ++i) block.Append(i);
  EXPECT_EQ(block.Capacity(), 3072);
  std::int32_t expected = 1;
  for (const std::int32_t position : block) EXPECT_EQ(position, expected++);
  block.ResizeBlock(0);
  EXPECT_EQ(block.Count(), 0);
  EXPECT_EQ(block.Capacity(), 0);
}

struct FindCase {
  std::string text;
  std::string pattern;
  std::int32_t start;
  std::int32_t expected;
};

TEST(FindFrom, FindsTheFirstMatchAtOrAfterStart) {
  const FindCase cases[] = {
      {"abc", "c", 3, 3},    {"abc", "c", 4, 0},     {"aaa", "aa", 2, 2},  {"aaa", "aa", 3, 0},
      {"abc", "a", 0, 0},    {"abc", "a", -1, 0},    {"", "a", 1, 0},      {"abc", "", 1, 0},
      {"abc", "abcd", 1, 0}, {"abcabc", "bc", 3, 5}, {"xaxb", "xb", 1, 3}, {"aXbX", "x", 1, 0},
      {"abab", "ab", 1, 1},  {"zzzab", "ab", 1, 4},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindFrom(c.text, c.pattern, c.start), c.expected)
        << c.text << " / " << c.pattern << " from " << c.start;
  }
}

}  // namespace
}  // namespace vemra
