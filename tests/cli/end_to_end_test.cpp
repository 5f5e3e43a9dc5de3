// Runs the built program as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::RunProgram;
using testing::RunResult;
using testing::TestFolder;
using testing::WriteBytes;

TEST(EndToEnd, RewritesLineEndsInPlace) {
  TestFolder folder;
  const std::string input = folder / "x.src";
  WriteBytes(input, "alpha\nbeta\rgamma\n");
  const RunResult run = RunProgram(input);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadBytes(input), "alpha\r\nbeta\r\ngamma\r\n");
  EXPECT_NE(run.console.find("1 : " + input + "\nLoading source file " + input + "...done!\n"),
            std::string::npos)
      << run.console;
  EXPECT_TRUE(run.console.ends_with("Saving output file to " + input + "...done!\n"))
      << run.console;
}

TEST(EndToEnd, FailuresExitWithStatusTwoAndLeaveFilesAlone) {
  TestFolder folder;
  const std::string input = folder / "in.src";
  WriteBytes(input, "alpha\n");
  const std::string runs[] = {
      folder / "missing.src",
      input + " " + (folder / "no/out.src"),
      input + " " + folder.Path(),
      "-tabwidth=wide " + input,
  };
  for (const std::string& arguments : runs) {
    const RunResult run = RunProgram(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(ReadBytes(input), "alpha\n") << arguments;
    EXPECT_EQ(folder.Names(), std::set<std::string>{"in.src"}) << arguments;
  }
}

TEST(EndToEnd, NoArgumentsPrintsTheBannerOnly) {
  const RunResult run = RunProgram("");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.console.starts_with("Vemra Code Formatter\n")) << run.console;
  EXPECT_TRUE(run.console.ends_with("\n\n")) << run.console;
}

}  // namespace
}  // namespace vemra
