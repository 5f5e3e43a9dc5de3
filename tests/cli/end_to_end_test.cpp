// Runs the built program as a user would.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::RunProgram;
using testing::RunResult;
using testing::RunShellCommand;
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

// The name is opened as given: "sublink/.." is the parent of the folder the
// link points to, as cat would find it, not the folder the link is in.
TEST(EndToEnd, NameThroughALinkAndDotDotFormatsTheFileTheSystemOpens) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: cd through the shell";
  TestFolder folder;
  std::filesystem::create_directories(folder / "real/sub");
  std::filesystem::create_directory_symlink("real/sub", folder / "sublink");
  WriteBytes(folder / "f.src", "alpha\n");
  WriteBytes(folder / "real/f.src", "beta\n");
  const RunResult run =
      RunShellCommand("cd " + folder.Path() + " && " + VEMRA_BINARY + " sublink/../f.src");
  EXPECT_EQ(run.status, 0) << run.console;
  EXPECT_EQ(ReadBytes(folder / "real/f.src"), "beta\r\n");
  EXPECT_EQ(ReadBytes(folder / "f.src"), "alpha\n");
  EXPECT_TRUE(
      run.console.ends_with("Saving output file to " + (folder / "real/f.src") + "...done!\n"))
      << run.console;
}

TEST(EndToEnd, NoArgumentsPrintsTheBannerOnly) {
  const RunResult run = RunProgram("");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.console.starts_with("Vemra Code Formatter\n")) << run.console;
  EXPECT_TRUE(run.console.ends_with("\n\n")) << run.console;
}

}  // namespace
}  // namespace vemra
