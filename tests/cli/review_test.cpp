// "check" and "diff": a run that formats but never writes, and answers with
// its exit status whether formatting would change the file.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/string_list.h"
#include "cli/driver.h"
#include "formatter/format_source.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::Echo;
using testing::FileState;
using testing::kBanner;
using testing::kFormatted;
using testing::kUnformatted;
using testing::MakeOld;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunProgram;
using testing::RunResult;
using testing::RunShellCommand;
using testing::StateOf;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOnlyLineEnds = "proc A()\n  x = 1\nend";

struct ReviewCase {
  std::string file_bytes;
  std::vector<std::string> options;
  int status;
  std::string verdict;  // the line after "Parsing...done!", with PATH for the full path
};

TEST(Review, AnswersByStatusAndNeverWritesAFile) {
  const ReviewCase cases[] = {
      {kFormatted, {"-check=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {kUnformatted, {"-check=TRUE"}, kExitWouldChange, "Would reformat: PATH\n"},
      {kOnlyLineEnds, {"-CHECK=1"}, kExitWouldChange, "Would reformat: PATH\n"},
      {kFormatted, {"-diff=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {kOnlyLineEnds,
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\nOnly line ends would change: every line would end in CR LF\n"},
      {"", {"-check=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {"x\r\n\r\n\r\n", {"-check=1", "-extralines=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {"x\r\n\r\n\r\n", {"-check=1"}, kExitWouldChange, "Would reformat: PATH\n"},
      // A block left open at the end: kept empty lines gain no last one,
      // collapsed ones keep the one it makes.
      {"proc A()\r\n  x = 1\r\n",
       {"-check=1", "-extralines=1"},
       kExitSuccess,
       "Already formatted: PATH\n"},
      {"proc A()\r\n  x = 1\r\n\r\n", {"-check=1"}, kExitSuccess, "Already formatted: PATH\n"},
      // The result compared is the one with the line end chosen.
      {kOnlyLineEnds + "\n",
       {"-check=1", "-lineends=lf"},
       kExitSuccess,
       "Already formatted: PATH\n"},
      {kOnlyLineEnds + "\n",
       {"-check=1", "-lineends=Keep"},
       kExitSuccess,
       "Already formatted: PATH\n"},
      {kFormatted, {"-check=1", "-lineends=keep"}, kExitSuccess, "Already formatted: PATH\n"},
      {kFormatted,
       {"-diff=1", "-lineends=LF"},
       kExitWouldChange,
       "Would reformat: PATH\nOnly line ends would change: every line would end in LF\n"},
  };
  for (const ReviewCase& c : cases) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, c.file_bytes);
    MakeOld(input);
    const FileState before = StateOf(input);

    std::vector<std::string> arguments = c.options;
    arguments.push_back(input);
    const RunResult result = RunDriver(arguments);

    EXPECT_EQ(result.status, c.status) << c.file_bytes;
    std::string verdict = c.verdict;
    verdict.replace(verdict.find("PATH"), 4, input);
    EXPECT_TRUE(result.console.ends_with("Parsing...done!\n" + verdict)) << result.console;
    EXPECT_EQ(StateOf(input), before);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"in.vem"});
  }
}

TEST(Review, OptionsLineNamesOnlyTheReviewOptionsThatAreOn) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-check=0", "-diff=0"}, "(tabwidth=2, tabs=False, extralines=False)\n"},
      {{"-check=1"}, "(tabwidth=2, tabs=False, extralines=False, check=True)\n"},
      {{"-diff=yes"}, ""},
      {{"-Diff=1", "-check=1"},
       "(tabwidth=2, tabs=False, extralines=False, check=True, diff=True)\n"},
  };
  for (const auto& [options, options_line] : cases) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, kFormatted);
    std::vector<std::string> arguments = options;
    arguments.push_back(input);
    const RunResult result = RunDriver(arguments);
    if (options_line.empty()) {
      EXPECT_EQ(result.status, kExitFailure);
      EXPECT_EQ(result.console, kBanner + Echo({options[0]}) +
                                    "EConvertError: 'yes' is not a valid boolean value\n");
      continue;
    }
    EXPECT_NE(result.console.find("...done!\nFormatting options " + options_line),
              std::string::npos)
        << result.console;
  }
}

TEST(Review, MissingFileIsAFailure) {
  TestFolder folder;
  const std::string input = folder / "missing.vem";
  const RunResult result = RunDriver({"-check=1", input});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_TRUE(result.console.ends_with("...EFOpenError: Cannot open file \"" + input + "\". " +
                                       testing::NotFoundText() + "\n"));
  EXPECT_TRUE(folder.Names().empty());
}

std::string LinesWithLf(const TStringList& list) {
  std::string text;
  for (std::int32_t i = 0; i < list.LineCount(); ++i) {
    text += list.LineView(i);
    text += '\n';
  }
  return text;
}

// The diff shown for a file is the one diff -u prints for the same two
// texts: the file as loaded and as formatted, one line per line. (Where many
// equal lines such as "end" could be paired in several equally short ways,
// the two programs may pair different ones; the sample has no such choice.)
TEST(Review, DiffMatchesDiffDashU) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: diff -u through the shell";
  TestFolder folder;
  const std::string input = folder / "in.vem";
  WriteBytes(input, ReadBytes(std::string(VEMRA_SOURCE_DIR) + "/examples/sample.vem"));
  TStringList list;
  list.LoadFile(input);
  WriteBytes(folder / "old.txt", LinesWithLf(list));
  FormatSource(list, 2, false, true);
  WriteBytes(folder / "new.txt", LinesWithLf(list));
  const std::string expected =
      RunShellCommand("diff -u --label " + input + " --label " + input + " " +
                      (folder / "old.txt") + " " + (folder / "new.txt"))
          .console;
  ASSERT_FALSE(expected.empty()) << "the sample needs formatting";

  const RunResult result = RunDriver({"-diff=1", input});
  EXPECT_EQ(result.status, kExitWouldChange);
  const std::string verdict = "Would reformat: " + input + "\n";
  const std::size_t at = result.console.find(verdict);
  ASSERT_NE(at, std::string::npos) << result.console;
  EXPECT_EQ(result.console.substr(at + verdict.size()), expected);
}

// The program as a continuous-integration job runs it.
TEST(Review, EndToEndStatusesAndUntouchedFiles) {
  TestFolder folder;
  const std::string good = folder / "good.vem";
  const std::string bad = folder / "bad.vem";
  WriteBytes(good, kFormatted);
  WriteBytes(bad, kUnformatted);
  MakeOld(good);
  MakeOld(bad);
  const FileState good_before = StateOf(good);
  const FileState bad_before = StateOf(bad);

  EXPECT_EQ(RunProgram("-check=1 " + good).status, 0);
  const RunResult would = RunProgram("-check=1 " + bad);
  EXPECT_EQ(would.status, 1);
  EXPECT_TRUE(would.console.ends_with("Would reformat: " + bad + "\n")) << would.console;
  EXPECT_EQ(RunProgram("-check=1 " + good + " " + bad).status, 1);
  const RunResult shown = RunProgram("-diff=1 " + bad);
  EXPECT_EQ(shown.status, 1);
  EXPECT_NE(shown.console.find("\n+  x = 1\n"), std::string::npos) << shown.console;
  EXPECT_EQ(RunProgram("-check=1 " + (folder / "missing.vem")).status, 2);

  EXPECT_EQ(StateOf(good), good_before);
  EXPECT_EQ(StateOf(bad), bad_before);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"good.vem", "bad.vem"}));
}

}  // namespace
}  // namespace vemra
