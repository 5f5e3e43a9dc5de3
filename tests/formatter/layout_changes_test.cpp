// Behaviour the layout pass guarantees beyond its spacing and indentation
// tables: labels never cut into tokens, any number of open "case" blocks,
// a byte-order mark kept whole, and results too large to hold.
#include "base/failures.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

TEST(LabelColon, TakesAnIndentationTabNeverOneInsideAToken) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      // A TAB inside a literal or comment on the line stays.
      {"proc A()\r\nx = '\t': y\r\nend\r\n", "proc·A()\\r\\nx·=·'→':·y·\\r\\nend·\\r\\n"},
      {"proc A()\r\n/*\t*/ x:\r\nend\r\n", "proc·A()\\r\\n/*→*/·x:·\\r\\nend·\\r\\n"},
      // A line that starts inside a multi-line token loses nothing.
      {"proc A()\r\n/* a\r\n\tb */ x:\r\nend\r\n",
       "proc·A()\\r\\n→/*·a\\r\\n→b·*/·x:·\\r\\nend·\\r\\n"},
      {"proc A()\r\ns = 'a\r\nb':\r\nend\r\n", "proc·A()\\r\\n→s·=·'a\\r\\nb':·\\r\\nend·\\r\\n"},
      // A lone CR ends the line for the search as well.
      {"proc A()\r\nx\ry:\r\nend\r\n", "proc·A()\\r\\n→x·\\ry:·\\r\\nend·\\r\\n"},
  };
  for (const auto& [source, laid_out] : cases) {
    EXPECT_EQ(LaidOut(source), laid_out) << ToNotation(source);
  }
}

TEST(CaseBlocks, AnyNumberMayBeOpen) {
  constexpr int kDepth = 3000;
  std::vector<std::string> source;
  std::vector<std::string> expected;
  for (int i = 0; i < kDepth; ++i) {
    source.push_back("case x");
    expected.push_back(std::string(2 * i, '\t') + "case x");
  }
  for (int i = kDepth - 1; i >= 0; --i) {
    source.push_back("end");
    expected.push_back(std::string(2 * i, '\t') + "end");
  }
  EXPECT_EQ(FormatLines(source), expected);
}

TEST(CaseBlocks, AllOpenedOnOneLineAndClosedOnTheNext) {
  std::string opened;
  std::string closed;
  for (int i = 0; i < 2000; ++i) {
    opened += "case x ";
    closed += "end ";
  }
  const std::vector<std::string> lines = FormatLines({opened, closed, "y"});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "y");  // every "case" was closed by its "end"
}

TEST(ByteOrderMark, StaysInFrontAndTakesNoPartInTheLayout) {
  const std::string mark = "\xEF\xBB\xBF";
  ExpectPrograms({
      {{mark + "proc A()", "x", "end"}, {mark + "proc A()", "\tx", "end"}},
      {{mark + "// c", "x"}, {mark + "// c", "x"}},
      {{mark}, {mark}},
      {{mark + mark + "x"}, {mark + "\xEF \xBB \xBF x"}},
  });
  EXPECT_EQ(LaidOut(mark + "-1"), ToNotation(mark) + "-·1·");
}

TEST(OpenToken, AtTheEndOfTheTextTakesItsBlankOnALineOfItsOwn) {
  // A comment or literal still open at the end holds the last line break;
  // the blank behind it stands alone after that break and is trimmed into
  // one empty last line, like the indentation of a block left open.
  ExpectPrograms({
      {{"proc A()", "/* open"}, {"proc A()", "\t/* open", ""}},
      {{"x = 'open"}, {"x = 'open", ""}},
  });
}

TEST(TextSizeLimit, ResultsPastTheLimitFailAndLeaveTheListAlone) {
  struct Case {
    std::vector<std::string> program;
    std::int32_t tab_width;
    bool use_tabs;
    bool fails;
  };
  const std::vector<Case> cases = {
      {{"proc A()", "x"}, 2147483647, false, true},           // the indentation alone
      {{"x = '\t\t'"}, 1073741824, false, true},              // the TABs inside a literal
      {{"proc A()", "x = '\t\t'"}, 2147483647, true, false},  // TABs kept
      {{"proc A()", "x = '\t'"}, -5, false, false},
      // The limit holds for the result: indentation of lines that trimming
      // empties (blank, or only control bytes) is no part of it.
      {{"proc A()", "", "\x01\x02", " \t", "end"}, 2147483647, false, false},
  };
  for (const Case& c : cases) {
    TStringList list;
    for (const std::string& line : c.program) list.AppendLine(line);
    const std::string loaded = list.ReadText();
    if (c.fails) {
      EXPECT_THROW(FormatSource(list, c.tab_width, c.use_tabs, true), ETextTooLarge);
      EXPECT_EQ(list.ReadText(), loaded);
    } else {
      EXPECT_NO_THROW(FormatSource(list, c.tab_width, c.use_tabs, true));
    }
  }
}

TEST(TextSizeLimit, IndentationIsWrittenAsTheFinishedBlanks) {
  EXPECT_EQ(LayoutPass("proc A()\r\nx = '\t'\r\nend", IndentUnit{' ', 3}),
            "proc A()\r\n   x = '\t' \r\nend ");
  EXPECT_EQ(LayoutPass("proc A()\r\nx\r\nend", IndentUnit{' ', 0}), "proc A()\r\nx \r\nend ");
}

}  // namespace
}  // namespace vemra
