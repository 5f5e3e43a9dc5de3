// Giving the memory under a text back while the layout passes it must not
// change a byte of the result: the layout and the finishing pass read no
// byte they have passed, bar what a region still takes from the text.
#include <gtest/gtest.h>

#include <string>

#include "base/failures.h"
#include "base/page_release.h"
#include "bench/program_generator.h"
#include "formatter/format_source.h"
#include "tests/support/test_system.h"

namespace vemra {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::string Formatted(const std::string& text, bool release, std::int32_t tab_width, bool use_tabs,
                      LineEnding ending) {
  TStringList lines;
  lines.AssignText(text);
  if (release) {
    FormatSourceReleasingText(lines, tab_width, use_tabs, true, ending);
  } else {
    FormatSource(lines, tab_width, use_tabs, true, ending);
  }
  return lines.ReadText();
}

std::string Program(std::size_t bytes) {
  return GenerateProgram(17, bytes);
}

// A region that opens near the start and runs to the end, or is closed
// there: its lines are taken from the text after the layout has passed
// them, so their memory must stay.
std::string WithRegion(std::size_t bytes, bool closed) {
  std::string text = Program(kMiB / 2) + "// vemrafmt: off\r\n" + Program(bytes);
  if (closed) text += "// vemrafmt: on\r\n" + Program(kMiB);
  return text;
}

TEST(ReleasingTheSource, GivesTheSameLinesAsKeepingIt) {
  struct Case {
    const char* name;
    std::string text;
    std::int32_t tab_width;
    bool use_tabs;
    LineEnding ending;
  };
  // Below and above the size from which the tokens are cut on a thread of
  // their own; TABs inside tokens that grow make the finishing pass build
  // the result apart from the laid-out text, and read that text once.
  const Case cases[] = {
      {"cut on the layout's thread", Program(12 * kMiB), 2, false, LineEnding::kCrLf},
      {"cut ahead", Program(20 * kMiB), 3, false, LineEnding::kCrLf},
      {"TABs kept, LF line ends", Program(12 * kMiB), 2, true, LineEnding::kLf},
      {"a region open to the end", WithRegion(12 * kMiB, false), 2, false, LineEnding::kCrLf},
      {"a region closed at the end", WithRegion(20 * kMiB, true), 2, false, LineEnding::kCrLf},
  };
  for (const Case& c : cases) {
    const std::string kept = Formatted(c.text, false, c.tab_width, c.use_tabs, c.ending);
    const std::string released = Formatted(c.text, true, c.tab_width, c.use_tabs, c.ending);
    EXPECT_TRUE(released == kept) << c.name;
  }
}

// count copies of piece.
std::string Times(std::size_t count, std::string_view piece) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// A line of control bytes is laid out with a blank behind each, and kept
// packed once the run is long, until the line shows whether it stays: it
// must come out exactly as the bytes say, dropped where the line ends in
// it, whole where a token follows, and counted where a region's line
// starts behind it.
TEST(ReleasingTheSource, LongRunsOfControlBytesComeOutAsTheyStand) {
  constexpr std::size_t kRun = 3'000'000;  // six megabytes laid out
  const std::string nuls = Times(kRun, std::string_view("\0", 1));
  const std::string laid_out_nuls = Times(kRun, std::string_view(" \0", 2));
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"a line of them only", nuls, "\r\n"},
      {"two runs and a line end", nuls + " " + Times(kRun, "\x01") + "\nx", "\r\nx\r\n"},
      {"a token behind", "a" + nuls + "b", "a" + laid_out_nuls + " b\r\n"},
      {"a glued token behind", "a" + nuls + ",b", "a" + laid_out_nuls + ", b\r\n"},
      {"a line end behind", "a" + nuls + "\r\nb", "a\r\nb\r\n"},
      {"the text's end, its line end taken by a marker in an open block",
       "while x\r\na" + nuls + "#id\r\n", "while x\r\n  a\r\n\r\n"},
      {"a region's marker behind a comment's line break",
       "a" + nuls + "/* x\r\n y */ // vemrafmt: off\r\n q  \r\n// vemrafmt: on\r\n",
       "a" + laid_out_nuls + " /* x\r\n y */ // vemrafmt: off\r\n q  \r\n// vemrafmt: on\r\n"},
  };
  for (const Case& c : cases) {
    for (const bool release : {false, true}) {
      EXPECT_TRUE(Formatted(c.text, release, 2, false, LineEnding::kCrLf) == c.expected)
          << c.name << (release ? ", released" : "");
    }
  }
}

// A token of megabytes is copied a piece at a time, the text behind it
// given back as it goes: its lines come out trimmed and collapsed as any.
TEST(ReleasingTheSource, LongTokensComeOutAsTheyStand) {
  constexpr std::size_t kLines = 1'200'000;  // six megabytes of comment
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"a comment of lines with blanks behind", "x = 1\r\n/*" + Times(kLines, "ab  \n") + "*/\r\n",
       "x = 1\r\n/*" + Times(kLines, "ab\r\n") + "*/\r\n"},
      {"a comment of empty lines", "/*" + Times(3 * kLines, "\n") + "*/", "/*\r\n\r\n*/\r\n"},
      {"a literal on one line", "x = '" + Times(6 * kLines, "a") + "'\r\n",
       "x = '" + Times(6 * kLines, "a") + "'\r\n"},
  };
  for (const Case& c : cases) {
    for (const bool release : {false, true}) {
      EXPECT_TRUE(Formatted(c.text, release, 2, false, LineEnding::kCrLf) == c.expected)
          << c.name << (release ? ", released" : "");
    }
  }
}

// A failure leaves the list as it was, or, once its memory may have gone,
// empty: never a text of zeros passed off as the loaded one.
TEST(ReleasingTheSource, AFailureLeavesTheListEmpty) {
  const std::string too_deep = "while a\r\nwhile b\r\nx\r\nend\r\nend\r\n";
  const std::int32_t too_wide = 2'000'000'000;
  TStringList kept;
  kept.AssignText(too_deep);
  EXPECT_THROW(FormatSource(kept, too_wide, false, true), ETextTooLarge);
  EXPECT_EQ(kept.ReadText(), too_deep);
  TStringList released;
  released.AssignText(too_deep);
  EXPECT_THROW(FormatSourceReleasingText(released, too_wide, false, true), ETextTooLarge);
  EXPECT_EQ(released.LineCount(), 0);
}

// What the layout relies on: the bytes a little behind the place passed,
// and those in front of the first whole page, stay as they are; a stretch
// too short to release changes nothing.
TEST(ReleasingTheSource, GivesBackOnlyWholePagesWellBehindThePlacePassed) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: pages given back read as zeros";
  constexpr std::size_t kLag = PageRelease::kLag;
  constexpr std::size_t kStep = PageRelease::kStep;
  std::string bytes(4 * kMiB, 'x');
  char* const begin = bytes.data() + 1;
  PageRelease release(begin, bytes.size() - 1);
  release.Passed(begin + kLag + kStep - 1);
  EXPECT_EQ(bytes.find('\0'), std::string::npos);

  const std::size_t passed = 3 * kMiB;
  release.Passed(begin + passed);
  EXPECT_EQ(bytes[0], 'x');
  EXPECT_EQ(bytes[1], 'x');
  EXPECT_EQ(bytes[kMiB], '\0');
  EXPECT_EQ(bytes[passed - kLag - 8192], '\0');
  EXPECT_EQ(bytes.find('\0', passed - kLag + 1), std::string::npos);
}

}  // namespace
}  // namespace vemra
