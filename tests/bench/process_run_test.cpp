#include "bench/process_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_report.h"

namespace vemra {
namespace {

ProcessRun RunShell(const std::string& script, ProcessLimits limits = {}) {
  return RunProcess({"sh", "-c", script}, "/dev/null", limits);
}

// The benchmark must tell a failed formatter run from a good one.
TEST(ProcessRunTest, ReportsHowTheChildEnded) {
  struct Case {
    std::string script;
    int exit_status;
    int signal;
  } cases[] = {
      {"exit 0", 0, 0},
      {"exit 2", 2, 0},
      {"kill -KILL $$", 0, SIGKILL},
      {"kill -SEGV $$", 0, SIGSEGV},
  };
  for (const Case& c : cases) {
    ProcessRun run = RunShell(c.script);
    EXPECT_EQ(run.exit_status, c.exit_status) << c.script;
    EXPECT_EQ(run.signal, c.signal) << c.script;
    EXPECT_EQ(run.Succeeded(), c.exit_status == 0 && c.signal == 0) << c.script;
    EXPECT_GT(run.peak_resident_kb, 0) << c.script;
  }
}

TEST(ProcessRunTest, MissingProgramEndsWithStatus127) {
  ProcessRun run = RunProcess({"/nonexistent/vemrafmt"}, "/dev/null", {});
  EXPECT_EQ(run.exit_status, 127);
}

TEST(ProcessRunTest, CpuLimitEndsARunawayChild) {
  ProcessRun run = RunShell("while :; do :; done", ProcessLimits{1, 0});
  EXPECT_TRUE(run.signal == SIGXCPU || run.signal == SIGKILL) << run.signal;
}

std::string FirstLine(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r");
  char line[16] = {};
  if (file == nullptr || std::fgets(line, sizeof line, file) == nullptr) return "none";
  std::fclose(file);
  return line;
}

TEST(ProcessRunTest, ConsoleGoesToTheGivenFile) {
  const std::string path = ::testing::TempDir() + "/process_run_console.txt";
  RunProcess({"sh", "-c", "echo done!"}, path, {});
  EXPECT_EQ(FirstLine(path), "done!\n");
  std::remove(path.c_str());
}

TEST(ProcessRunTest, StandardInputComesFromTheGivenFile) {
  const std::string input = ::testing::TempDir() + "/process_run_input.txt";
  const std::string console = ::testing::TempDir() + "/process_run_console.txt";
  RunProcess({"sh", "-c", "echo given > " + input}, "/dev/null", {});
  RunProcess({"cat"}, console, {}, input);
  EXPECT_EQ(FirstLine(console), "given\n");
  std::remove(input.c_str());
  std::remove(console.c_str());
}

// The one-core column is only honest if the child really runs on one
// processor only.
TEST(ProcessRunTest, PinnedChildMayRunOnItsProcessorOnly) {
  const std::string path = ::testing::TempDir() + "/process_run_cpus.txt";
  ProcessLimits pinned;
  pinned.only_cpu = 0;
  const ProcessRun run =
      RunProcess({"sh", "-c", "grep Cpus_allowed_list /proc/self/status"}, path, pinned);
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  std::remove(path.c_str());
  EXPECT_TRUE(run.Succeeded());
  EXPECT_EQ(line, "Cpus_allowed_list:\t0");
}

TEST(BenchReportTest, MedianOfOddAndEvenCounts) {
  auto runs = [](std::vector<double> seconds) {
    std::vector<ProcessRun> result;
    for (double s : seconds) result.push_back(ProcessRun{s, s, 0, 0, 0});
    return result;
  };
  EXPECT_DOUBLE_EQ(MedianSeconds(runs({3, 1, 2})), 2);
  EXPECT_DOUBLE_EQ(MedianSeconds(runs({4, 1, 3, 2})), 2.5);
  EXPECT_DOUBLE_EQ(MedianSeconds(runs({})), 0);
}

}  // namespace
}  // namespace vemra
