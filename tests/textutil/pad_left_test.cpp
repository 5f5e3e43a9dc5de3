#include "textutil/pad_left.h"

#include <gtest/gtest.h>

#include <string>

#include "textutil/bool_to_text.h"

namespace vemra {
namespace {

TEST(RepeatChar, MakesCountCopiesAndNothingForZeroOrLess) {
  EXPECT_EQ(RepeatChar('\t', 3), "\t\t\t");
  EXPECT_EQ(RepeatChar(' ', 0), "");
  EXPECT_EQ(RepeatChar(' ', -2), "");
  EXPECT_EQ(RepeatChar('\0', 2), std::string(2, '\0'));
}

struct PadCase {
  std::string text;
  char c;
  std::int32_t width;
  std::string expected;
};

TEST(PadLeft, FillsOnTheLeftUpToWidthOnly) {
  const PadCase cases[] = {
      {"", '\t', 2, "\t\t"},   {"abc", ' ', 2, "abc"},
      {"ab", '0', 5, "000ab"}, {"ab", ' ', -3, "ab"},
      {"", ' ', 0, ""},        {"ab", ' ', 2, "ab"},
      {"", ' ', -1, ""},       {"x", '\xff', 3, "\xff\xffx"},
  };
  for (const PadCase& c : cases) {
    std::string text = c.text;
    PadLeft(text, c.c, c.width);
    EXPECT_EQ(text, c.expected) << "'" << c.text << "' to " << c.width;
  }
}

TEST(BoolToText, SpellsTheOptionValues) {
  EXPECT_EQ(BoolToText(true), "True");
  EXPECT_EQ(BoolToText(false), "False");
}

}  // namespace
}  // namespace vemra
