// TABs that stand for no blanks vanish, but never so that two bytes meet and
// change where a comment or literal ends.
#include "formatter/tab_removal.h"

#include <gtest/gtest.h>

#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

TEST(RemoveTabs, DeletesEveryRunUnlessTheBytesAroundItWouldJoin) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"a\tb\t\tc\t", "abc"},
      {"\t\t", ""},
      {"/** \t*/", "/** */"},
      {"/**\t/", "/** /"},  // "*/" would end the comment
      {"/**\t\t\t/ x */", "/** / x */"},
      {"*\tx/", "*x/"},
      {"\"a\\\t\" + b", "\"a\\ \" + b"},  // "\"" would no longer end the literal
      {"\\\t", "\\ "},
      {"/\t*", "/*"},
  };
  for (const auto& [text, expected] : cases) {
    std::string removed = text;
    RemoveTabs(removed);
    EXPECT_EQ(removed, expected) << text;
  }
}

// With a TAB width of 0 a comment or literal ends where it ended before, so
// the program's tokens stay as they were.
TEST(RemoveTabs, KeepsCommentsAndLiteralsWhole) {
  const std::vector<std::string> programs = {
      "/**\t/ x = 1 */\r\ny = 2\r\n",
      "x = \"a\\\t\" + y\r\n",
  };
  for (const std::string& program : programs) {
    TStringList lines;
    lines.AssignText(program);
    FormatSource(lines, 0, false, true);
    EXPECT_EQ(MeaningfulTokens(lines.ReadText()), MeaningfulTokens(program)) << program;
  }
}

}  // namespace
}  // namespace vemra
