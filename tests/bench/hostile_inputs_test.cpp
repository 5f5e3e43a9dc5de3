#include "bench/hostile_inputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace vemra {
namespace {

std::size_t Count(const std::string& text, std::string_view needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

std::size_t LineEnds(const std::string& text) {
  return Count(text, "\r\n");
}

TEST(HostileInputsTest, EmptyLines) {
  const std::string text = EmptyLines(1000);
  EXPECT_EQ(text.size(), 2000u);
  EXPECT_EQ(LineEnds(text), 1000u);
}

TEST(HostileInputsTest, ColonPairsStandOnOneLine) {
  const std::string text = ColonPairsLine(10000);
  EXPECT_GE(text.size(), 10000u);
  EXPECT_EQ(LineEnds(text), 1u);
  EXPECT_EQ(Count(text, ": "), (text.size() - 2) / 2);
}

TEST(HostileInputsTest, NestedWhileBlocksAreClosed) {
  const std::string text = NestedWhileBlocks(300);
  EXPECT_EQ(Count(text, "while "), 300u);
  EXPECT_EQ(Count(text, "end\r\n"), 300u);
  EXPECT_EQ(LineEnds(text), 900u);
}

TEST(HostileInputsTest, CaseBlocksOpenOnOneLineAndCloseOnTheNext) {
  const std::string text = CaseBlocksOnOneLine(5000);
  EXPECT_EQ(LineEnds(text), 2u);
  std::size_t first_line_end = text.find("\r\n");
  EXPECT_EQ(Count(text.substr(0, first_line_end), "case "), 5000u);
  EXPECT_EQ(Count(text.substr(first_line_end), "end "), 5000u);
}

TEST(HostileInputsTest, MarkersOnlyHoldsNothingElse) {
  std::string text = MarkersOnly(40000);
  EXPECT_GE(text.size(), 40000u);
  EXPECT_EQ(LineEnds(text), 1u);
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c == 'I' ? 'i' : c == 'D' ? 'd' : c;
  });
  EXPECT_EQ(Count(text, "#id "), (text.size() - 2) / 4);
}

// The comment must not end before the last line, or the shape would measure
// code instead of one comment.
TEST(HostileInputsTest, OneBlockCommentEndsOnlyAtTheEnd) {
  const std::string text = OneBlockComment(200000);
  EXPECT_GE(text.size(), 200000u);
  ASSERT_EQ(text.rfind("/*", 0), 0u);
  bool star = false;
  std::size_t end = std::string::npos;
  for (std::size_t i = 2; i < text.size() && end == std::string::npos; ++i) {
    if (text[i] == '/' && star) end = i;
    star = text[i] == '*';
  }
  EXPECT_EQ(end, text.size() - 3);
  EXPECT_GT(LineEnds(text), 1000u);
}

TEST(HostileInputsTest, LineWithoutBlanks) {
  const std::string text = LineWithoutBlanks(100000);
  EXPECT_GE(text.size(), 100000u);
  EXPECT_EQ(text.find_first_of(" \t"), std::string::npos);
  EXPECT_EQ(text.find_first_of("\r\n"), text.size() - 2);
}

}  // namespace
}  // namespace vemra
