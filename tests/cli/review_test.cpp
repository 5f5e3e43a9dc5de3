// "check" and "diff": a run that formats but never writes, and answers with
// its exit status whether formatting would change the file; "diff" prints
// the patch that formatting would make.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/driver.h"
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
  std::string verdict;     // the line after "Parsing...done!", with PATH for the full path
  std::string patch = {};  // with -diff=1 (given first), standard output, all of it
};

// The header of a patch of in.vem, in the current folder.
const std::string kPatchOfIn = "--- a/in.vem\n+++ b/in.vem\n";

TEST(Review, AnswersByStatusAndNeverWritesAFile) {
  const ReviewCase cases[] = {
      {kFormatted, {"-check=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {kUnformatted, {"-check=TRUE"}, kExitWouldChange, "Would reformat: PATH\n"},
      {kOnlyLineEnds, {"-CHECK=1"}, kExitWouldChange, "Would reformat: PATH\n"},
      {kFormatted, {"-diff=1"}, kExitSuccess, "Already formatted: PATH\n"},
      {kOnlyLineEnds,
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\nOnly line ends would change: every line would end in CR LF\n",
       kPatchOfIn + "@@ -1,3 +1,3 @@\n-proc A()\n-  x = 1\n-end\n\\ No newline at end of file\n"
                    "+proc A()\r\n+  x = 1\r\n+end\r\n"},
      // A file missing only its last line end gets the hunk that adds it.
      {"proc A()\r\n  x = 1\r\nend",
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\nOnly line ends would change: every line would end in CR LF\n",
       kPatchOfIn + "@@ -1,3 +1,3 @@\n proc A()\r\n   x = 1\r\n-end\n\\ No newline at end of file\n"
                    "+end\r\n"},
      // Every line keeps its CR; a line end changed alone is a change.
      {"proc A()\r\nx=1\r\nend\r\n",
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\n",
       kPatchOfIn + "@@ -1,3 +1,3 @@\n proc A()\r\n-x=1\r\n+  x = 1\r\n end\r\n"},
      {"proc A()\r\nx=1\r\nend\n",
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\n",
       kPatchOfIn + "@@ -1,3 +1,3 @@\n proc A()\r\n-x=1\r\n-end\n+  x = 1\r\n+end\r\n"},
      {"proc A()\rx=1\rend\r",
       {"-diff=1"},
       kExitWouldChange,
       "Would reformat: PATH\n",
       kPatchOfIn + "@@ -1 +1,3 @@\n-proc A()\rx=1\rend\r\n\\ No newline at end of file\n"
                    "+proc A()\r\n+  x = 1\r\n+end\r\n"},
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
       "Would reformat: PATH\nOnly line ends would change: every line would end in LF\n",
       kPatchOfIn +
           "@@ -1,3 +1,3 @@\n-proc A()\r\n-  x = 1\r\n-end\r\n+proc A()\n+  x = 1\n+end\n"},
  };
  for (const ReviewCase& c : cases) {
    TestFolder folder;
    const testing::CurrentFolder here(folder.Path());
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
    // A patch stands alone on standard output, what else the run says on
    // standard error.
    const bool diff = c.options.front() == "-diff=1";
    const std::string& said = diff ? result.errors : result.console;
    EXPECT_TRUE(said.ends_with("Parsing...done!\n" + verdict)) << said;
    if (diff) {
      EXPECT_EQ(result.console, c.patch) << c.file_bytes;
    }
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
    const std::string said = result.console + result.errors;
    EXPECT_NE(said.find("...done!\nFormatting options " + options_line), std::string::npos) << said;
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

// The patch shown for a file is the one diff -u prints for the file as it
// is and as a one-file run saves it. (Where many equal lines such as "end"
// could be paired in several equally short ways, the two programs may pair
// different ones; the sample has no such choice.)
TEST(Review, DiffMatchesDiffDashU) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: diff -u through the shell";
  TestFolder folder;
  const testing::CurrentFolder here(folder.Path());
  const std::string sample = ReadBytes(std::string(VEMRA_SOURCE_DIR) + "/examples/sample.vem");
  WriteBytes(folder / "in.vem", sample);
  WriteBytes(folder / "saved.vem", testing::OneFileResult(sample));
  const std::string expected =
      RunShellCommand("diff -u --label a/in.vem --label b/in.vem in.vem saved.vem").console;
  ASSERT_FALSE(expected.empty()) << "the sample needs formatting";

  const RunResult result = RunDriver({"-diff=1", folder / "in.vem"});
  EXPECT_EQ(result.status, kExitWouldChange);
  EXPECT_EQ(result.console, expected);
  EXPECT_TRUE(result.errors.ends_with("Would reformat: " + (folder / "in.vem") + "\n"));
}

struct OutputCase {
  std::vector<std::string> arguments;  // "@DIR/" stands for the folder, the current one
  int status;
  std::string console;     // all of standard output; with -check=1 (given first), its end
  std::string errors;      // the end of standard error
  bool terminals = false;  // standard output and error lead to terminals
  bool no_colour = false;  // NO_COLOR=1
};

const std::string kBadPatch =
    "--- a/bad.vem\n+++ b/bad.vem\n@@ -1,3 +1,3 @@\n-proc A()\n-x=1\n-    end\n"
    "+proc A()\r\n+  x = 1\r\n+end\r\n";
const std::string kBadPatchInColour =
    "\x1b[1m--- a/bad.vem\x1b[m\n\x1b[1m+++ b/bad.vem\x1b[m\n\x1b[36m@@ -1,3 +1,3 @@\x1b[m\n"
    "\x1b[31m-proc A()\x1b[m\n\x1b[31m-x=1\x1b[m\n\x1b[31m-    end\x1b[m\n"
    "\x1b[32m+proc A()\r\x1b[m\n\x1b[32m+  x = 1\r\x1b[m\n\x1b[32m+end\r\x1b[m\n";

// -list prints the names of the files that would change, alone; -color
// colours patches and verdicts: always when told, under auto only on a
// terminal and without NO_COLOR, never in a pipe or a file.
TEST(Review, ListNamesTheFilesThatWouldChangeAndColourGoesOnlyWhereAsked) {
  const OutputCase cases[] = {
      {{"-list=1", "bad.vem"}, kExitWouldChange, "bad.vem\n", ""},
      {{"-list=1", "good.vem"}, kExitSuccess, "", ""},
      {{"-list=1", "-files=1", "."}, kExitWouldChange, "bad.vem\nsub/bad2.vem\n", ""},
      {{"--list", "@DIR/sub/bad2.vem", "good.vem", "--color=always"},
       kExitWouldChange,
       "sub/bad2.vem\n",
       ""},
      {{"-list=1", "nothing.vem"},
       kExitFailure,
       "",
       "nothing.vem: EFOpenError: Cannot open file \"@DIR/nothing.vem\". " +
           testing::NotFoundText() + "\n"},
      {{"-check=1", "-color=always", "bad.vem"},
       kExitWouldChange,
       "\x1b[31mWould reformat:\x1b[m @DIR/bad.vem\n",
       ""},
      {{"-check=1", "-color=Always", "good.vem", "bad.vem"},
       kExitWouldChange,
       "\x1b[31mWould reformat:\x1b[m bad.vem\n\x1b[32mAlready formatted:\x1b[m good.vem\n"
       "1 file would be reformatted, 1 already formatted, 0 failed\n",
       ""},
      {{"-diff=1", "-color=always", "bad.vem"},
       kExitWouldChange,
       kBadPatchInColour,
       "\x1b[31mWould reformat:\x1b[m @DIR/bad.vem\n"},
      {{"-diff=1", "bad.vem"},
       kExitWouldChange,
       kBadPatchInColour,
       "\x1b[31mWould reformat:\x1b[m @DIR/bad.vem\n",
       true},
      {{"-diff=1", "bad.vem"},
       kExitWouldChange,
       kBadPatch,
       "Would reformat: @DIR/bad.vem\n",
       true,
       true},
      {{"-diff=1", "-color=never", "bad.vem"},
       kExitWouldChange,
       kBadPatch,
       "Would reformat: @DIR/bad.vem\n",
       true},
      {{"-diff=1", "-color=auto", "bad.vem"},
       kExitWouldChange,
       kBadPatch,
       "Would reformat: @DIR/bad.vem\n"},
      {{"-diff=1", "-color=blue", "bad.vem"},
       kExitFailure,
       "",
       "EConvertError: 'blue' is not a valid colour choice (auto, always or never)\n"},
  };
  for (const OutputCase& c : cases) {
    if (c.terminals && c.console == kBadPatchInColour && !testing::OnLinux()) {
      continue;  // a Windows console is told to show colours, which a test's streams are not
    }
    const testing::FolderWithInput scratch(kFormatted);
    const TestFolder& folder = scratch.folder;
    WriteBytes(folder / "good.vem", kFormatted);
    WriteBytes(folder / "bad.vem", kUnformatted);
    std::filesystem::create_directory(testing::PathOf(folder / "sub"));
    WriteBytes((folder / "sub") + "/bad2.vem", kUnformatted);
    const testing::CurrentFolder here(folder.Path());
    if (c.no_colour) testing::SetVariable("NO_COLOR", "1");
    const RunResult run = RunDriver(scratch.Fill(c.arguments), "", c.terminals);
    testing::UnsetVariable("NO_COLOR");

    EXPECT_EQ(run.status, c.status) << c.arguments[0];
    if (c.arguments[0] == "-check=1") {
      EXPECT_TRUE(run.console.ends_with(scratch.Fill(c.console))) << run.console;
    } else {
      EXPECT_EQ(run.console, scratch.Fill(c.console)) << c.arguments[0];
    }
    EXPECT_TRUE(run.errors.ends_with(scratch.Fill(c.errors))) << run.errors;
    EXPECT_EQ(ReadBytes(folder / "bad.vem"), kUnformatted);
  }
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
  EXPECT_NE(shown.console.find("\n+  x = 1\r\n"), std::string::npos) << shown.console;
  EXPECT_EQ(shown.console.find('\x1b'), std::string::npos) << "a pipe gets no colour";
  EXPECT_EQ(RunProgram("-check=1 " + (folder / "missing.vem")).status, 2);

  EXPECT_EQ(StateOf(good), good_before);
  EXPECT_EQ(StateOf(bad), bad_before);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"good.vem", "bad.vem"}));
}

}  // namespace
}  // namespace vemra
