#include "cli/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::Echo;
using testing::kBanner;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunResult;
using testing::TestFolder;
using testing::WriteBytes;

// Plain words on their own lines: formatting leaves them as they are, so only
// the line ends change.
const std::string kInput = "alpha\nbeta\rgamma";
const std::string kSaved = "alpha\r\nbeta\r\ngamma\r\n";
const std::string kDefaultOptions =
    "Formatting options (tabwidth=2, tabs=False, extralines=False)\n";

std::string SuccessfulRun(const std::string& input, const std::string& output,
                          const std::string& options_line) {
  return "Loading source file " + input + "...done!\n" + options_line + "Parsing...done!\n" +
         "Saving output file to " + output + "...done!\n";
}

TEST(Driver, WithoutAFileNameOnlyTheBannerAndEchoLines) {
  const std::vector<std::vector<std::string>> runs = {
      {}, {"-tabs=1"}, {"-x=1", "-", "-TABWIDTH=8"}, {""}};
  for (const auto& arguments : runs) {
    const RunResult result = RunDriver(arguments);
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.console, kBanner + Echo(arguments));
  }
}

struct OptionCase {
  std::vector<std::string> options;
  std::string options_line;
};

TEST(Driver, OptionsAreReadLeftToRightInAnyLetterCase) {
  const OptionCase cases[] = {
      {{}, kDefaultOptions},
      {{"-TabWidth=4"}, "Formatting options (tabwidth=4, tabs=False, extralines=False)\n"},
      {{"-tabs=1", "-extralines=TRUE"},
       "Formatting options (tabwidth=2, tabs=True, extralines=True)\n"},
      {{"-tabs=1", "-tabs=0"}, kDefaultOptions},
      {{"-tabwidth=$10", "-x=1", "-"},
       "Formatting options (tabwidth=16, tabs=False, extralines=False)\n"},
      {{"-tabwidth=-3"}, "Formatting options (tabwidth=-3, tabs=False, extralines=False)\n"},
  };
  for (const OptionCase& c : cases) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, kInput);
    std::vector<std::string> arguments = c.options;
    arguments.push_back(input);
    const RunResult result = RunDriver(arguments);
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.console,
              kBanner + Echo(arguments) + SuccessfulRun(input, input, c.options_line));
  }
}

struct BadValueCase {
  std::string option;
  std::string failure_line;
};

TEST(Driver, AValueThatDoesNotConvertStopsTheRunAtOnce) {
  const BadValueCase cases[] = {
      {"-tabs=yes", "EConvertError: 'yes' is not a valid boolean value\n"},
      // Without "=", no option has a value, and the failure names it; only
      // a boolean one with two dashes is set.
      {"-extralines",
       "EConvertError: -extralines needs a value, as in -extralines=B: '' is not a valid boolean "
       "value\n"},
      {"-tabwidth",
       "EConvertError: -tabwidth needs a value, as in -tabwidth=N: '' is not a valid integer "
       "value\n"},
      {"--tabwidth",
       "EConvertError: --tabwidth needs a value, as in -tabwidth=N: '' is not a valid integer "
       "value\n"},
      {"--lineends",
       "EConvertError: --lineends needs a value, as in -lineends=END: '' is not a valid line end "
       "(crlf, lf or keep)\n"},
      {"-TabWidth=2 ", "EConvertError: '2 ' is not a valid integer value\n"},
      {"-tabs=2.5=x", "EConvertError: '2.5=x' is not a valid boolean value\n"},
  };
  for (const BadValueCase& c : cases) {
    TestFolder folder;
    const std::string input = folder / "in.vem";
    WriteBytes(input, kInput);
    const RunResult result = RunDriver({c.option, input, "-tabs=1"});
    EXPECT_EQ(result.status, kExitFailure) << c.option;
    EXPECT_EQ(result.console, kBanner + Echo({c.option}) + c.failure_line);
    EXPECT_EQ(ReadBytes(input), kInput);
  }
}

TEST(Driver, OneFileNameIsWrittenOverTwoNamesWriteTheSecond) {
  TestFolder folder;
  const std::string input = folder / "in.vem";
  WriteBytes(input, kInput);
  const RunResult in_place = RunDriver({input});
  EXPECT_EQ(in_place.status, kExitSuccess);
  EXPECT_EQ(ReadBytes(input), kSaved);

  WriteBytes(input, kInput);
  const std::string output = folder / "out.vem";
  const RunResult two = RunDriver({input, output});
  EXPECT_EQ(two.console,
            kBanner + Echo({input, output}) + SuccessfulRun(input, output, kDefaultOptions));
  EXPECT_EQ(ReadBytes(input), kInput);
  EXPECT_EQ(ReadBytes(output), kSaved);
}

// A third name once replaced the second, which was never read, and the
// first file's result overwrote the third. Now such a run touches nothing.
TEST(Driver, ThreeNamesWithoutFilesAreRefusedAndNothingIsTouched) {
  TestFolder folder;
  const std::vector<std::string> names = {folder / "a.vem", folder / "b.vem", folder / "c.vem"};
  for (const std::string& name : names) {
    WriteBytes(name, kInput);
    testing::MakeOld(name);
  }
  const RunResult three = RunDriver({names[0], "-tabs=1", names[1], names[2]});
  EXPECT_EQ(three.status, kExitFailure);
  EXPECT_EQ(three.console, kBanner + Echo({names[0], "-tabs=1", names[1], names[2]}) +
                               "EArgumentError: 3 file names given, but a run formats INPUT "
                               "into OUTPUT: use -files=1 to format every named file in place\n");
  for (const std::string& name : names) {
    EXPECT_EQ(ReadBytes(name), kInput);
    EXPECT_EQ(testing::ModifiedSecond(name), 1000000000);
  }
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"a.vem", "b.vem", "c.vem"}));
}

// Files are opened through their names as given; ".." after a link to a
// folder leads to that folder's parent, and the console shows that file.
TEST(Driver, FileNamesAreShownAsFullPathsOfTheFilesOpened) {
  if (!testing::OnLinux()) {
    GTEST_SKIP() << "needs Linux: symbolic links, which the Windows build's library cannot make";
  }
  TestFolder folder;
  std::filesystem::create_directories(folder / "real/sub");
  std::filesystem::create_directory(folder / "sub");
  std::filesystem::create_directory_symlink("real/sub", folder / "sublink");
  WriteBytes(folder / "in.vem", "not this one");
  WriteBytes(folder / "real/in.vem", kInput);
  const std::string plain = folder.Path() + "/./sub/../real/in.vem";
  const std::string through_link = folder.Path() + "/sublink/../in.vem";
  for (const std::string& name : {plain, through_link}) {
    WriteBytes(folder / "real/in.vem", kInput);
    const RunResult result = RunDriver({name});
    EXPECT_EQ(result.console,
              kBanner + Echo({name}) +
                  SuccessfulRun(folder / "real/in.vem", folder / "real/in.vem", kDefaultOptions));
    EXPECT_EQ(ReadBytes(folder / "real/in.vem"), kSaved) << name;
    EXPECT_EQ(ReadBytes(folder / "in.vem"), "not this one") << name;
  }
}

TEST(Driver, MissingInputIsReportedOnTheLoadingLineAndNothingIsCreated) {
  TestFolder folder;
  const std::string input = folder / "missing.vem";
  const std::string output = folder / "out.vem";
  const RunResult result = RunDriver({input, output});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_EQ(result.console, kBanner + Echo({input, output}) + "Loading source file " + input +
                                "...EFOpenError: Cannot open file \"" + input + "\". " +
                                testing::NotFoundText() + "\n");
  EXPECT_TRUE(folder.Names().empty());
}

TEST(Driver, FailedSaveIsReportedOnTheSavingLineAndKeepsEveryFile) {
  const std::string outputs[] = {"no/such/folder/out.vem", "a-folder"};
  for (std::string name : outputs) {
    std::replace(name.begin(), name.end(), '/', testing::PathSeparator());
    TestFolder folder;
    const std::string input = folder / "in.vem";
    const std::string output = folder / name;
    WriteBytes(input, kInput);
    std::filesystem::create_directory(folder / "a-folder");
    const RunResult result = RunDriver({input, output});
    EXPECT_EQ(result.status, kExitFailure);
    const std::string reason =
        name == "a-folder" ? "It is not a regular file" : testing::FolderNotFoundText();
    EXPECT_TRUE(result.console.ends_with("Saving output file to " + output +
                                         "...EFCreateError: Cannot create file \"" + output +
                                         "\". " + reason + "\n"))
        << result.console;
    EXPECT_EQ(ReadBytes(input), kInput);
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"in.vem", "a-folder"}));
  }
}

}  // namespace
}  // namespace vemra
