// Reading the command line: help and version, options with two dashes,
// unknown options and what becomes of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/driver.h"
#include "cli/option_table.h"
#include "cli/usage_text.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::Echo;
using testing::FolderWithInput;
using testing::kBanner;
using testing::kFormatted;
using testing::kUnformatted;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunResult;
using testing::RunWithStreams;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kVersionLine = "vemrafmt (Vemra Code Formatter) " VEMRA_VERSION "\n";

struct RequestCase {
  std::vector<std::string> arguments;  // "@IN" stands for an unformatted file
  std::string printed;
};

// Help and version end the run before any file is read or written,
// whatever else the line holds, even a value that does not convert.
TEST(CommandLine, HelpAndVersionEndTheRunBeforeAnyFileIsTouched) {
  const std::string usage = UsageText();
  const RequestCase cases[] = {
      {{"-help", "@IN"}, usage},
      {{"@IN", "--help"}, usage},
      {{"-h"}, usage},
      {{"-?", "-stdin=1"}, usage},
      {{"-HELP=0", "-files=1", "@IN"}, usage},
      {{"-tabwidth=wide", "-stdout=1", "@IN", "-h"}, usage},
      {{"-version"}, kVersionLine},
      {{"--Version", "-check=1", "@IN"}, kVersionLine},
      {{"-version", "-help"}, kVersionLine},
      {{"-help", "-version"}, usage},
  };
  for (const RequestCase& c : cases) {
    const FolderWithInput scratch;
    const RunResult run = RunDriver(scratch.Fill(c.arguments), kUnformatted);
    EXPECT_EQ(run.status, kExitSuccess) << c.arguments[0];
    EXPECT_EQ(run.console, c.printed) << c.arguments[0];
    EXPECT_EQ(run.errors, "");
    EXPECT_TRUE(scratch.Untouched()) << c.arguments[0];
  }
}

// The usage text fits a terminal and names every option the line takes;
// it says what -tabs and -filename do, all of it.
TEST(CommandLine, UsageListsEveryOptionWithinEightyColumns) {
  const std::string usage = UsageText();
  EXPECT_NE(usage.find("  -tabs=B          indent with TABs, one per level"), std::string::npos);
  EXPECT_NE(usage.find("reports and patches, and for its .editorconfig settings"),
            std::string::npos);
  std::size_t start = 0;
  for (std::size_t end; (end = usage.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
  }
  for (const OptionSpec& option : Options()) {
    if (option.synopsis.empty()) continue;
    EXPECT_NE(usage.find("\n  " + std::string(option.synopsis)), std::string::npos);
  }
}

TEST(CommandLine, ABareRunPrintsTheBannerAndAHintOnStandardError) {
  const RunResult run = RunWithStreams({}, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, kBanner);
  EXPECT_EQ(run.errors, "No input file given; \"vemrafmt -help\" tells how to use the program\n");
}

// An option written with two dashes is that option, and a boolean one
// without a value is set; its echo line shows it as typed.
TEST(CommandLine, TwoDashesReadAsOne) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> pairs = {
      {{"--check=1"}, {"-check=1"}},
      {{"--TabWidth=4", "--tabs=1", "--check=yes"}, {"-TabWidth=4", "-tabs=1", "-check=yes"}},
      {{"--diff=1", "--extralines=1"}, {"-diff=1", "-extralines=1"}},
      {{"--check"}, {"-check=1"}},
      {{"--Diff", "--extralines", "--quiet"}, {"-diff=1", "-extralines=1", "-quiet=1"}},
      {{"--list", "--files"}, {"-list=1", "-files=1"}},
  };
  for (const auto& [two_dashes, one_dash] : pairs) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, kUnformatted);
    auto run = [&](std::vector<std::string> arguments) {
      arguments.push_back(input);
      RunResult result = RunDriver(arguments);
      // The banner and echo stand where the run's own text goes.
      std::string& said = result.console.starts_with(kBanner) ? result.console : result.errors;
      if (said.starts_with(kBanner)) said.replace(0, (kBanner + Echo(arguments)).size(), "");
      return result;
    };
    const RunResult doubled = run(two_dashes);
    const RunResult single = run(one_dash);
    EXPECT_EQ(doubled.status, single.status) << two_dashes[0];
    EXPECT_EQ(doubled.console, single.console) << two_dashes[0];
    EXPECT_EQ(doubled.errors, single.errors) << two_dashes[0];
    EXPECT_EQ(ReadBytes(input), kUnformatted) << "a review writes nothing";
  }
}

struct NamesCase {
  std::vector<std::string> arguments;
  int status;
  std::string console;  // after the banner and the echo lines, if any
  std::string errors;   // likewise
};

// "--" ends the options: what follows is a file name, even "-x.vem". A run
// that is to work on the names given fails when none is given, rather than
// pass having looked at nothing.
TEST(CommandLine, TwoDashesEndTheOptionsAndAReviewNeedsAName) {
  const NamesCase cases[] = {
      {{"-check=1", "--", "-x.vem"}, kExitSuccess, "Already formatted: @DIR/-x.vem\n", ""},
      {{"-check=1", "--", "-x.vem", "-check=1"},
       kExitFailure,
       "-check=1: EFOpenError: Cannot open file \"@DIR/-check=1\". " + testing::NotFoundText() +
           "\nAlready formatted: -x.vem\n0 files would be reformatted, 1 already formatted, 1 "
           "failed\n",
       ""},
      {{"-list=1", "--", "--", "-x.vem"},
       kExitFailure,
       "",
       "--: EFOpenError: Cannot open file \"@DIR/--\". " + testing::NotFoundText() + "\n"},
      {{"-files=1"},
       kExitFailure,
       "EArgumentError: No input: -files=1 needs a file or folder name\n",
       ""},
      {{"--check", "--files"},
       kExitFailure,
       "EArgumentError: No input: -files=1 needs a file or folder name\n",
       ""},
      {{"-check=1"},
       kExitFailure,
       "EArgumentError: No input: -check=1 needs a file name, or -stdin=1\n",
       ""},
      {{"-diff=1", "--"},
       kExitFailure,
       "",
       "EArgumentError: No input: -diff=1 needs a file name, or -stdin=1\n"},
      {{"-list=1", "-quiet=1"},
       kExitFailure,
       "",
       "EArgumentError: No input: -list=1 needs a file name, or -stdin=1\n"},
  };
  for (const NamesCase& c : cases) {
    const FolderWithInput scratch(kFormatted);
    WriteBytes(scratch.folder / "-x.vem", kFormatted);
    const testing::CurrentFolder here(scratch.folder.Path());
    const RunResult run = RunDriver(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments[0];
    const std::string opening = kBanner + Echo(c.arguments);
    auto after_opening = [&](const std::string& text) {
      return text.starts_with(opening) ? text.substr(opening.size()) : text;
    };
    const std::string console = after_opening(run.console);
    EXPECT_TRUE(console.ends_with(scratch.Fill(c.console))) << console;
    if (c.console.empty()) {
      EXPECT_EQ(console.find("EArgumentError"), std::string::npos);
    }
    EXPECT_EQ(after_opening(run.errors), scratch.Fill(c.errors)) << c.arguments[0];
    EXPECT_EQ(ReadBytes(scratch.folder / "-x.vem"), kFormatted);
  }
}

struct UnknownCase {
  std::string option;
  std::string warning;
};

// An unknown option is passed over as before, standard output unchanged,
// with a warning on standard error that names the option probably meant.
TEST(CommandLine, UnknownOptionsAreIgnoredWithAWarning) {
  const UnknownCase cases[] = {
      {"-tabwith=4", "unknown option \"-tabwith=4\" ignored; did you mean -tabwidth?\n"},
      {"--chekc=1", "unknown option \"--chekc=1\" ignored; did you mean -check?\n"},
      {"-Quite=1", "unknown option \"-Quite=1\" ignored; did you mean -quiet?\n"},
      {"---check=1", "unknown option \"---check=1\" ignored; did you mean -check?\n"},
      {"-", "unknown option \"-\" ignored; did you mean -stdin=1?\n"},
      {"-x=1", "unknown option \"-x=1\" ignored\n"},
      {"-verbose", "unknown option \"-verbose\" ignored\n"},
  };
  for (const UnknownCase& c : cases) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, kUnformatted);
    const RunResult run = RunDriver({c.option, input});
    EXPECT_EQ(run.status, kExitSuccess) << c.option;
    EXPECT_EQ(run.console, kBanner + Echo({c.option, input}) + "Loading source file " + input +
                               "...done!\nFormatting options (tabwidth=2, tabs=False, "
                               "extralines=False)\nParsing...done!\nSaving output file to " +
                               input + "...done!\n");
    EXPECT_EQ(run.errors, c.warning);
    EXPECT_EQ(ReadBytes(input), testing::OneFileResult(kUnformatted));
  }
}

struct RefusedCase {
  std::vector<std::string> arguments;  // "@IN" stands for an unformatted file
  bool silent;                         // the failure line goes to standard error
};

// Where an unknown option is refused, nothing is read or written.
TEST(CommandLine, UnknownOptionsFailWithStrictAndInManyFilesAndStandardInputRuns) {
  const RefusedCase cases[] = {
      {{"-strict=1", "-tabwith=4", "@IN"}, false},
      {{"-tabwith=4", "@IN", "--strict=TRUE"}, false},
      {{"-files=1", "-tabwith=4", "@IN"}, false},
      {{"-check=1", "@IN", "@IN", "-tabwith=4"}, false},
      {{"-quiet=1", "-strict=1", "-tabwith=4", "@IN"}, true},
      {{"-stdin=1", "-tabwith=4"}, true},
  };
  const std::string failure =
      "EArgumentError: Unknown option \"-tabwith=4\"; did you mean -tabwidth?\n";
  for (const RefusedCase& c : cases) {
    const FolderWithInput scratch;
    const std::vector<std::string> arguments = scratch.Fill(c.arguments);
    const RunResult run = RunDriver(arguments, kUnformatted);
    EXPECT_EQ(run.status, kExitFailure) << c.arguments[0];
    EXPECT_EQ(run.console, c.silent ? "" : kBanner + Echo(arguments) + failure);
    EXPECT_EQ(run.errors, c.silent ? failure : "");
    EXPECT_TRUE(scratch.Untouched()) << c.arguments[0];
  }
}

TEST(CommandLine, FileNameGoesOnlyWithStandardInput) {
  TestFolder folder;
  const std::string input = folder / "in.vem";
  WriteBytes(input, kFormatted);
  const RunResult run = RunDriver({"-filename=a.vem", input});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(run.console.ends_with(
      "EArgumentError: -filename names the text read from standard input: it goes only with "
      "-stdin=1\n"))
      << run.console;
}

}  // namespace
}  // namespace vemra
