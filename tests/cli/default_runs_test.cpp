// Whole runs that use none of the options for editors and pipes print, on
// standard output, exactly what they always printed: the transcript of
// golden/default_runs.sh against golden/default_runs.txt, byte for byte.
// With VEMRA_UPDATE_GOLDEN=1 the transcript is rewritten instead; review
// every change to it before keeping it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

TEST(DefaultRuns, StandardOutputIsTheGoldenTranscript) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: the transcript is made by a shell script";
  testing::TestFolder folder;
  const std::string golden = std::string(VEMRA_SOURCE_DIR) + "/tests/cli/golden/";
  const testing::RunResult run =
      testing::RunShellCommand("sh " + golden + "default_runs.sh " + VEMRA_BINARY + " " +
                               VEMRA_SOURCE_DIR + "/examples " + folder.Path());
  ASSERT_EQ(run.status, 0);
  const char* const update = std::getenv("VEMRA_UPDATE_GOLDEN");
  if (update != nullptr && std::string_view(update) == "1") {
    testing::WriteBytes(golden + "default_runs.txt", run.console);
    return;
  }
  EXPECT_EQ(run.console, testing::ReadBytes(golden + "default_runs.txt"));
}

}  // namespace
}  // namespace vemra
