// The text of an editor's buffer through standard input and output, quiet
// runs, and standard output that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/program_generator.h"
#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::Echo;
using testing::FolderWithInput;
using testing::kBanner;
using testing::kFormatted;
using testing::kUnformatted;
using testing::OneFileResult;
using testing::OutputTo;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunResult;
using testing::RunWithStreams;
using testing::TestFolder;
using testing::WriteBytes;

std::string Sample() {
  return ReadBytes(std::string(VEMRA_SOURCE_DIR) + "/examples/messy.vem");
}

struct FilterCase {
  std::string input;
  std::vector<std::string> options;
};

// Larger than a pipe holds and than the first room read into, so that the
// text arrives in many pieces.
const std::string kLargeProgram = GenerateProgram(11, 300000);

std::vector<FilterCase> FilterCases() {
  return {
      {kUnformatted, {}},
      {kFormatted, {}},
      {"", {}},
      {"no line break after this line", {}},
      {std::string("x\0\xff\r\r\n", 6), {}},
      {Sample(), {}},
      {Sample(), {"-tabs=1", "-extralines=1"}},
      {Sample(), {"-TabWidth=5", "-filename=src/a.vem"}},
      {kLargeProgram, {"--tabwidth=3"}},
  };
}

// An editor hands its buffer over and takes back exactly what a one-file
// run would have saved, and nothing else.
TEST(StandardStreams, StandardInputToStandardOutputGivesTheBytesAOneFileRunSaves) {
  for (const FilterCase& c : FilterCases()) {
    std::vector<std::string> options = c.options;
    std::erase_if(options, [](const std::string& o) { return o.starts_with("-filename"); });
    const std::string expected = OneFileResult(c.input, options);
    for (const char* mode : {"-stdout=1", "-quiet=0"}) {  // -stdin alone writes to standard output
      std::vector<std::string> arguments = {"-stdin=1", mode};
      arguments.insert(arguments.end(), c.options.begin(), c.options.end());
      const RunResult run = RunDriver(arguments, c.input);
      EXPECT_EQ(run.status, kExitSuccess) << run.errors;
      EXPECT_EQ(run.console, expected) << c.input.substr(0, 40);
      EXPECT_EQ(run.errors, "");
    }
  }
}

TEST(StandardStreams, TheBuiltProgramFiltersAFile) {
  const std::string expected = OneFileResult(kLargeProgram);
  const RunResult from_file = RunWithStreams({"-STDIN=TRUE", "--stdout=1"}, kLargeProgram);
  EXPECT_EQ(from_file.status, 0) << from_file.errors;
  EXPECT_EQ(from_file.console, expected);
  EXPECT_EQ(from_file.errors, "");
}

// The built program's standard streams carry bytes, not text: no line end
// is changed on the way in or out (a CR read away would change what
// -lineends=keep keeps, an LF written as CR LF what -lineends=lf writes),
// and a Ctrl-Z ends no input.
TEST(StandardStreams, TheBuiltProgramPassesLineEndsAndCtrlZAsTheyAre) {
  struct ByteCase {
    std::string input;
    std::string option;
    std::string output;
  };
  const ByteCase cases[] = {
      {"proc A()\r\n  x = '\x1a'\r\nend\r\n", "-lineends=crlf",
       "proc A()\r\n  x = '\x1a'\r\nend\r\n"},
      {"proc A()\nx = '\x1a'\nend\n", "-lineends=lf", "proc A()\n  x = '\x1a'\nend\n"},
      {"x=1\r\ny=2\n", "-lineends=keep", "x = 1\r\ny = 2\r\n"},
      {"x=1\ny=2\r\n", "-lineends=keep", "x = 1\ny = 2\n"},
  };
  for (const ByteCase& c : cases) {
    const RunResult run = RunWithStreams({"-stdin=1", "-stdout=1", c.option}, c.input);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.console, c.output) << c.option;
  }
}

TEST(StandardStreams, TheBuiltProgramFiltersAPipe) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: a pipe through the shell";
  const std::string expected = OneFileResult(kLargeProgram);
  TestFolder folder;
  WriteBytes(folder / "in.vem", kLargeProgram);
  const RunResult from_pipe = testing::RunShellCommand("cat " + (folder / "in.vem") + " | " +
                                                       VEMRA_BINARY + " -stdin=1 -stdout=1");
  EXPECT_EQ(from_pipe.status, 0);
  EXPECT_EQ(from_pipe.console, expected);
}

TEST(StandardStreams, StdoutWithAFileReadsItAndNeverTouchesIt) {
  const FolderWithInput scratch;
  const RunResult run = RunWithStreams({scratch.input, "-stdout=1"}, "");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.console, OneFileResult(kUnformatted));
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(scratch.Untouched());
}

struct FailureCase {
  std::vector<std::string> arguments;  // "@IN" stands for an unformatted file, "@DIR" its folder
  std::string errors;                  // likewise
};

// Whatever fails, an editor finds standard output empty, status 2 and the
// reason on standard error, and no file is touched.
TEST(StandardStreams, AFailureLeavesStandardOutputEmpty) {
  const FailureCase cases[] = {
      {{"-stdout=1", "@DIR/missing.vem"},
       "@DIR/missing.vem: EFOpenError: Cannot open file \"@DIR/missing.vem\". " +
           testing::NotFoundText() + "\n"},
      {{"-stdout=1", "-tabwidth=x", "@IN"}, "EConvertError: 'x' is not a valid integer value\n"},
      {{"-tabs=maybe", "-stdin=1"}, "EConvertError: 'maybe' is not a valid boolean value\n"},
      {{"-stdin=1", "-filename="}, "EConvertError: '' is not a valid file name\n"},
      {{"-stdin=1", "@IN"},
       "EArgumentError: File name \"@IN\" given with -stdin=1, which formats standard input: to "
       "name the text, use -filename=@IN\n"},
      {{"-stdin=1", "-tabwith=4"},
       "EArgumentError: Unknown option \"-tabwith=4\"; did you mean -tabwidth?\n"},
      {{"-stdin=1", "-"}, "EArgumentError: Unknown option \"-\"; did you mean -stdin=1?\n"},
      {{"-stdin=1", "-files=1"},
       "EArgumentError: -files=1 cannot go with -stdin=1, which formats one text from standard "
       "input\n"},
      {{"-stdout=1", "-list=1", "@IN"},
       "EArgumentError: -stdout=1 writes the formatted text, -check=1, -diff=1 and -list=1 write "
       "none: give one or the other\n"},
      {{"-stdout=1", "@IN", "@DIR/out.vem"},
       "EArgumentError: -stdout=1 writes the result to standard output: an OUTPUT file name "
       "cannot go with it\n"},
      {{"-stdout=1", "-files=1", "@IN"},
       "EArgumentError: -stdout=1 writes the formatted text of one input: it cannot go with "
       "-files=1\n"},
      {{"-stdout=1"}, "EArgumentError: No input: -stdout=1 needs a file name, or -stdin=1\n"},
      {{"-stdin=1", "-lines=3"},
       "EConvertError: '3' is not a valid list of line ranges (A:B,C:D)\n"},
      {{"-stdin=1", "-lines=1:2,4:3"},
       "EConvertError: '1:2,4:3' is not a valid list of line ranges (A:B,C:D)\n"},
      {{"-lsp=1", "-stdin=1"},
       "EArgumentError: -lsp=1 formats the documents an editor sends: it takes no file names, "
       "-stdin, -stdout, -check, -diff or -list\n"},
      {{"-quiet=1", "-stdin=1", "-list=1", "-lines=1:1"},
       "EArgumentError: -lines applies to one input, formatted and written; it cannot be "
       "combined with many files, -check, -diff, -list or -lsp\n"},
  };
  for (const FailureCase& c : cases) {
    const FolderWithInput scratch;
    const RunResult run = RunDriver(scratch.Fill(c.arguments), kUnformatted);
    EXPECT_EQ(run.status, kExitFailure) << c.arguments[1];
    EXPECT_EQ(run.console, "") << c.arguments[1];
    EXPECT_EQ(run.errors, scratch.Fill(c.errors));
    EXPECT_TRUE(scratch.Untouched()) << c.arguments[1];
  }
}

// -lines: the lines given take their formatted form, every other line keeps
// its bytes; a stretch that adds or removes lines changes whole when it
// touches them.
TEST(StandardStreams, LinesChangeOnlyTheGivenLines) {
  const std::string input = "proc A()\nx=1\r\ny=2\n\n\n\nz=3\nend";
  const struct {
    std::string lines;
    std::string expected;
  } cases[] = {
      {"2:2", "proc A()\n  x = 1\r\ny=2\n\n\n\nz=3\nend"},
      {"2:3", "proc A()\n  x = 1\r\n  y = 2\r\n\n\n\nz=3\nend"},
      {"3:3,7:7", "proc A()\nx=1\r\n  y = 2\r\n\n\n\n  z = 3\r\nend"},
      {"4:5", "proc A()\nx=1\r\ny=2\n\r\nz=3\nend"},
      {"4:4", "proc A()\nx=1\r\ny=2\n\r\n\n\nz=3\nend"},
      {"8:99", "proc A()\nx=1\r\ny=2\n\n\n\nz=3\nend\r\n"},
      {"1:8", "proc A()\r\n  x = 1\r\n  y = 2\r\n\r\n  z = 3\r\nend\r\n"},
  };
  for (const auto& c : cases) {
    const RunResult run = RunDriver({"-stdin=1", "-lines=" + c.lines}, input);
    EXPECT_EQ(run.status, kExitSuccess) << run.errors;
    EXPECT_EQ(run.console, c.expected) << c.lines;
  }
  // A file is saved the same way.
  TestFolder folder;
  WriteBytes(folder / "a.vem", input);
  EXPECT_EQ(RunDriver({"-quiet=1", "-lines=2:2", folder / "a.vem"}).status, kExitSuccess);
  EXPECT_EQ(ReadBytes(folder / "a.vem"), cases[0].expected);
}

// The findings on unbalanced blocks go to standard error in the compiler's
// form; the result is the same bytes with or without them, and only
// -strict=1 fails the run for a warning.
TEST(StandardStreams, UnbalancedBlocksAreWarnedOfOnStandardError) {
  const std::string input = "end\nproc A()\nx=1\n// vemrafmt: off\n";
  // The stray "end" takes the level below zero, and "proc" back to it.
  const std::string result = "end\r\nproc A()\r\nx = 1\r\n// vemrafmt: off\r\n";
  const std::string warnings =
      "a.vem:1: warning: \"end\" closes no open block\n"
      "a.vem:2: warning: \"proc\" opened on line 2 is never closed\n"
      "a.vem:4: note: \"vemrafmt: off\" has no \"vemrafmt: on\" after it: the lines to the end "
      "are left as they stand\n";
  const struct {
    std::vector<std::string> options;
    int status;
    std::string errors;
  } cases[] = {
      {{}, kExitSuccess, warnings},
      {{"-quiet=1"}, kExitSuccess, ""},
      {{"-strict=1"}, kExitFailure, warnings},
      {{"-strict=1", "-quiet=1"}, kExitFailure, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"-stdin=1", "-filename=a.vem"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const RunResult run = RunDriver(arguments, input);
    EXPECT_EQ(run.status, c.status) << c.options.size();
    EXPECT_EQ(run.console, result);
    EXPECT_EQ(run.errors, c.errors);
  }
}

// A refused line reads nothing: what an editor piped in is still there.
TEST(StandardStreams, ARefusedLineLeavesStandardInputUnread) {
  std::FILE* const in = std::tmpfile();
  std::fputs("proc A()\n", in);
  std::fflush(in);
  std::rewind(in);
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"-stdin=1", "-strict=1", "-x"}, {fileno(in), out, err}), kExitFailure);
  EXPECT_EQ(std::ftell(in), 0);
  std::fclose(in);
}

TEST(StandardStreams, AReviewOfStandardInputAnswersByStatusUnderItsGivenName) {
  const RunResult would = RunDriver({"-stdin=1", "-check=1"}, kUnformatted);
  EXPECT_EQ(would.status, kExitWouldChange);
  EXPECT_EQ(would.console, kBanner + Echo({"-stdin=1", "-check=1"}) +
                               "Loading source file standard input...done!\n"
                               "Formatting options (tabwidth=2, tabs=False, extralines=False, "
                               "check=True)\nParsing...done!\nWould reformat: standard input\n");
  const RunResult already = RunDriver({"-stdin=1", "-check=1"}, OneFileResult(kUnformatted));
  EXPECT_EQ(already.status, kExitSuccess);
  EXPECT_TRUE(already.console.ends_with("Already formatted: standard input\n"));

  const RunResult diff =
      RunDriver({"-diff=1", "-quiet=1", "-stdin=1", "-filename=src/a.vem"}, kUnformatted);
  EXPECT_EQ(diff.status, kExitWouldChange);
  EXPECT_EQ(diff.console,
            "--- a/src/a.vem\n+++ b/src/a.vem\n@@ -1,3 +1,3 @@\n"
            "-proc A()\n-x=1\n-    end\n+proc A()\r\n+  x = 1\r\n+end\r\n");
  EXPECT_EQ(diff.errors, "Would reformat: src/a.vem\n");
}

TEST(StandardStreams, AStandardInputThatCannotBeReadIsNamed) {
  if (!testing::OnLinux())
    GTEST_SKIP() << "needs Linux: a folder as standard input, through the shell";
  TestFolder folder;
  for (const std::string& name : {std::string(), std::string("src/a.vem")}) {
    const std::string shown = name.empty() ? "standard input" : name;
    // A folder as standard input: every read fails.
    const RunResult run = testing::RunShellCommand(std::string(VEMRA_BINARY) + " -stdin=1" +
                                                   (name.empty() ? "" : " -filename=" + name) +
                                                   " < " + folder.Path() + " 2>&1");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.console, shown +
                               ": EReadError: Stream read error. Cannot read standard input. "
                               "Is a directory\n");
  }
}

struct QuietCase {
  std::vector<std::string> arguments;  // "@A" and "@B" stand for two files, @A unformatted
  int status;
  std::string console;  // likewise
};

// A quiet run prints only what was asked for; its failures go to standard
// error.
TEST(StandardStreams, AQuietRunPrintsOnlyWhatWasAskedFor) {
  const QuietCase cases[] = {
      {{"-quiet=1", "@A"}, kExitSuccess, ""},
      {{"@A", "-quiet=1", "@B"}, kExitSuccess, ""},
      {{"-quiet=1", "-files=1", "@A", "@B"},
       kExitSuccess,
       "1 file reformatted, 1 unchanged, 0 failed\n"},
      {{"-quiet=1", "-check=1", "@A"}, kExitWouldChange, "Would reformat: @A\n"},
      {{"-quiet=1", "-check=1", "@B", "@A"},
       kExitWouldChange,
       "Would reformat: @A\nAlready formatted: @B\n1 file would be reformatted, 1 already "
       "formatted, 0 failed\n"},
  };
  for (const QuietCase& c : cases) {
    TestFolder folder;
    WriteBytes(folder / "a.vem", kUnformatted);
    WriteBytes(folder / "b.vem", kFormatted);
    auto fill = [&](std::string text) {
      for (const char* name : {"@A", "@B"}) {
        const std::string path = folder / (name[1] == 'A' ? "a.vem" : "b.vem");
        for (std::size_t at; (at = text.find(name)) != std::string::npos;)
          text.replace(at, 2, path);
      }
      return text;
    };
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) arguments.push_back(fill(argument));
    const RunResult run = RunDriver(arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments[1];
    EXPECT_EQ(run.console, fill(c.console));
    EXPECT_EQ(run.errors, "");
  }
}

TEST(StandardStreams, AQuietRunSendsFailuresToStandardErrorUnderTheirNames) {
  TestFolder folder;
  const std::string missing = folder / "missing.vem";
  const RunResult one = RunDriver({"-quiet=1", missing});
  EXPECT_EQ(one.status, kExitFailure);
  EXPECT_EQ(one.console, "");
  EXPECT_EQ(one.errors, missing + ": EFOpenError: Cannot open file \"" + missing + "\". " +
                            testing::NotFoundText() + "\n");
  const RunResult many = RunDriver({"-quiet=1", "-check=1", missing, missing + "2"});
  EXPECT_EQ(many.status, kExitFailure);
  EXPECT_EQ(many.console, "0 files would be reformatted, 0 already formatted, 2 failed\n");
  EXPECT_TRUE(many.errors.starts_with(missing + ": EFOpenError: ")) << many.errors;
}

const std::string kNoInputHint =
    "No input file given; \"vemrafmt -help\" tells how to use the program\n";

struct BrokenOutputCase {
  std::vector<std::string> arguments;  // "@IN" stands for an unformatted file
  OutputTo output;
  std::string errors;  // likewise
};

// Standard output that takes nothing is a failure, never a silent success;
// a run that finds its console broken before it saves leaves the file.
TEST(StandardStreams, StandardOutputThatCannotBeWrittenFailsTheRun) {
  if (!testing::OnLinux())
    GTEST_SKIP() << "needs Linux: /dev/full, and the reasons as Linux words them";
  const std::string full =
      "Stream write error. Cannot write standard output. No space left on "
      "device\n";
  const std::string closed = "Stream write error. Cannot write standard output. Broken pipe\n";
  const BrokenOutputCase cases[] = {
      {{"-stdin=1", "-stdout=1"}, OutputTo::kDevFull, "standard input: EWriteError: " + full},
      {{"-stdin=1", "-filename=a.vem"}, OutputTo::kClosedPipe, "a.vem: EWriteError: " + closed},
      {{"-stdout=1", "@IN"}, OutputTo::kDevFull, "@IN: EWriteError: " + full},
      {{"@IN"}, OutputTo::kDevFull, "EWriteError: " + full},
      {{"@IN"}, OutputTo::kClosedPipe, "EWriteError: " + closed},
      {{"-check=1", "-quiet=1", "@IN"}, OutputTo::kDevFull, "EWriteError: " + full},
      {{"-diff=1", "-quiet=1", "@IN"},
       OutputTo::kDevFull,
       "Would reformat: @IN\nEWriteError: " + full},
      {{"-list=1", "@IN"}, OutputTo::kClosedPipe, "EWriteError: " + closed},
      {{"-help"}, OutputTo::kDevFull, "EWriteError: " + full},
      {{}, OutputTo::kClosedPipe, kNoInputHint + "EWriteError: " + closed},
  };
  for (const BrokenOutputCase& c : cases) {
    const FolderWithInput scratch;
    const RunResult run = RunWithStreams(scratch.Fill(c.arguments), kUnformatted, c.output);
    EXPECT_EQ(run.status, 2) << (c.arguments.empty() ? "" : c.arguments[0]);
    EXPECT_EQ(run.errors, scratch.Fill(c.errors));
    EXPECT_TRUE(scratch.Untouched());
  }
}

// A run whose standard output carries a patch prints the rest on standard
// error; that it cannot be written there takes nothing from the patch.
TEST(StandardStreams, AStandardErrorThatCannotBeWrittenLeavesThePatchWhole) {
  const FolderWithInput scratch;
  const testing::CurrentFolder here(scratch.folder.Path());
  std::FILE* const in = std::tmpfile();
  std::ostringstream out;
  std::ostream err(nullptr);  // takes no byte
  EXPECT_EQ(RunCommandLine({"-diff=1", "in.vem"}, {fileno(in), out, err}), kExitWouldChange);
  std::fclose(in);
  EXPECT_EQ(out.str(),
            "--- a/in.vem\n+++ b/in.vem\n@@ -1,3 +1,3 @@\n-proc A()\n-x=1\n-    end\n"
            "+proc A()\r\n+  x = 1\r\n+end\r\n");
}

}  // namespace
}  // namespace vemra
