// The finishing pass: TAB expansion, trimming and the collapse of empty
// lines, on their own and through FormatSource.
#include "formatter/finishing_pass.h"

#include <random>

#include "base/failures.h"
#include "base/string_list.h"
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

// FinishedText is the one-pass form of expanding, trimming, collapsing and
// joining with CR LF; it must give exactly the text the separate steps give.
std::string FinishedStepByStep(std::string text, std::int32_t width, bool use_tabs, bool collapse) {
  if (!use_tabs) ExpandTabs(text, width);
  TStringList list;
  list.AssignText(TrimLines(text, collapse));
  return list.ReadText();
}

TEST(FinishedText, AgreesWithTheStepsOneByOne) {
  struct Options {
    std::int32_t width;
    bool use_tabs;
    bool collapse;
  };
  const Options options[] = {
      {2, false, true}, {0, false, false}, {-1, false, true}, {3, true, true}, {8, true, false}};
  std::vector<std::string> texts = {
      "",      "\t",       "a\t\r\n\t\tb\t·", "x\n\n\r\r\n\r\n", "→'a→b'→\r\n→\r\n\r\nz",
      "a\x01", "\r\n\r\n", "a\r\n→",          "\n\r·\t\x1f\r"};
  // Random texts over the bytes that matter: line ends, blanks, TABs, a
  // control byte and an ordinary one.
  std::mt19937 random(7);
  const std::string alphabet = "\r\n\t \x01a";
  for (int n = 0; n < 300; ++n) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    texts.push_back(text);
  }
  // Long texts with lines of every length around the 64 bytes a short line
  // is copied in at once, far from the text's end and right at it.
  for (int n = 0; n < 300; ++n) {
    std::string text(random() % 600, 'a');
    const unsigned break_odds = 2 + random() % 150;
    for (char& c : text) {
      if (random() % break_odds == 0) c = alphabet[random() % alphabet.size()];
    }
    texts.push_back(text);
  }
  // Long runs of lines the pass leaves as they are, broken now and then by
  // one it changes, so that the runs end at every place of a 64-byte block.
  for (int n = 0; n < 300; ++n) {
    std::string text;
    const int lines = static_cast<int>(random() % 30);
    for (int i = 0; i < lines; ++i) {
      text.append(1 + random() % 100, 'a');
      text.append(random() % 6 == 0 ? std::string(1, alphabet[random() % alphabet.size()]) : "");
      text.append("\r\n");
    }
    texts.push_back(text);
  }
  for (const std::string& notation : texts) {
    const std::string text = FromNotation(notation);
    for (const Options& o : options) {
      EXPECT_EQ(ToNotation(FinishedText(text, o.width, o.use_tabs, o.collapse)),
                ToNotation(FinishedStepByStep(text, o.width, o.use_tabs, o.collapse)))
          << ToNotation(text) << " width " << o.width << " tabs " << o.use_tabs;
    }
  }
}

TEST(FinishedText, TooLargeAnExpansionFails) {
  EXPECT_THROW(FinishedText("a\tb\t", 1073741825, false, true), ETextTooLarge);
  EXPECT_EQ(FinishedText("a\tb\t", 1073741825, true, true), "a\tb\r\n");
}

// The finished text may be built in the memory of a spare string; whatever
// that string held, large or small, must not show in the lines.
TEST(FinishingPass, SpareMemoryLeavesNoTrace) {
  const std::string laid_out = "proc·A()\r\n→x·=·'→'··\r\n\r\n\r\nend\n";
  for (const bool use_tabs : {false, true}) {
    TStringList expected;
    FinishingPass(FromNotation(laid_out), expected, 2, use_tabs, true);
    for (std::string spare : {std::string(), std::string("x"), std::string(4096, 'y')}) {
      TStringList lines;
      FinishingPass(FromNotation(laid_out), lines, 2, use_tabs, true, LineEnding::kCrLf,
                    std::move(spare));
      EXPECT_EQ(lines.ReadText(), expected.ReadText()) << spare.size();
    }
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
