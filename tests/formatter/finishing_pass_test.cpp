// The finishing pass: TAB expansion, trimming and the collapse of empty
// lines, on their own and through FormatSource.
#include "formatter/finishing_pass.h"

#include "frontend/failures.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

TEST(ExpandTabs, EveryTabBecomesTheSameNumberOfBlanks) {
  struct Case {
    const char* text;
    std::int32_t width;
    const char* expanded;
  };
  for (const Case& c : {Case{"→→x·'a→b'", 2, "····x·'a··b'"}, Case{"→→x·'a→b'", 0, "x·'ab'"},
                        Case{"→x", -3, "x"}, Case{"no·tabs", 8, "no·tabs"}, Case{"→", 1, "·"}}) {
    std::string text = FromNotation(c.text);
    ExpandTabs(text, c.width);
    EXPECT_EQ(ToNotation(text), c.expanded) << c.text << " width " << c.width;
  }
}

TEST(ExpandTabs, TooLargeAResultLeavesTheTextAlone) {
  std::string text = "a\tb\t";
  EXPECT_THROW(ExpandTabs(text, 1073741825), ETextTooLarge);
  EXPECT_EQ(text, "a\tb\t");
}

TEST(TrimLines, TrimsBlanksAndCollapsesEmptyRuns) {
  struct Case {
    const char* text;
    bool collapse;
    const char* lines;
  };
  const std::vector<Case> cases = {
      {"a·\r\nb→\n\r·c··\r", true, "a\\nb\\n\\n·c\\n"},
      {"a\r\n\r\n\r\n\r\nb\r\n", true, "a\\n\\nb\\n"},
      {"a\r\n\r\n\r\n\r\nb\r\n", false, "a\\n\\n\\n\\nb\\n"},
      {"a\r\n··\r\n→\r\nb", true, "a\\n\\nb\\n"},
      {"\r\n\r\na", true, "\\na\\n"},
      {"a\r\n\r\n\r\n", true, "a\\n\\n"},
      {"a\r\n→", true, "a\\n\\n"},
      {"", true, ""},
      // Every byte of value 0x20 or lower goes at a line end, not only blanks.
      {"a\x01·\r\nb\x0c\x1f·\r\n", true, "a\\nb\\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToNotation(TrimLines(FromNotation(c.text), c.collapse)), c.lines) << c.text;
  }
}

TEST(FinishingPass, OptionsThroughFormatSource) {
  const std::vector<std::string> program = {"proc A()", "while b", "x = '\t'", "",
                                            "",         "  \t ",   "end",      "end"};
  EXPECT_EQ(
      FormatLines(program, false, 2, true),
      (std::vector<std::string>{"proc A()", "  while b", "    x = '  '", "", "  end", "end"}));
  EXPECT_EQ(FormatLines(program, false, 0, false),
            (std::vector<std::string>{"proc A()", "while b", "x = ''", "", "", "", "end", "end"}));
  EXPECT_EQ(
      FormatLines(program, true, 2, true),
      (std::vector<std::string>{"proc A()", "\twhile b", "\t\tx = '\t'", "", "\tend", "end"}));
}

}  // namespace
}  // namespace vemra
