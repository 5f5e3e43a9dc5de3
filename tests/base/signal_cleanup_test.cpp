// SIGINT, SIGTERM and SIGHUP during a save: unfinished files go, a file being
// written over in place is finished first, and the run ends as the signal
// says.
#include "base/posix/signal_cleanup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include "base/posix/temp_file.h"
#include "base/posix/unique_fd.h"
#include "tests/base/test_folder.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::TestFolder;
using testing::WriteBytes;

// Runs body in a child; its wait status.
int StatusOfChild(const std::function<void()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(SignalCleanup, SignalRemovesTemporaryFilesAndEndsTheRunAsItWould) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    TestFolder folder;
    const UniqueFd fd(open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY));
    const int status = StatusOfChild([&] {
      TempFile first(fd.Get());
      TempFile second(fd.Get());
      second.Keep();  // kept files are not the handler's to remove
      raise(signal_number);
      _exit(0);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number;
    EXPECT_EQ(folder.Names().size(), 1u) << signal_number;
  }
}

TEST(SignalCleanup, IgnoredSignalStaysIgnored) {
  TestFolder folder;
  const UniqueFd fd(open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY));
  const int status = StatusOfChild([&] {
    signal(SIGHUP, SIG_IGN);  // as under nohup
    TempFile file(fd.Get());
    raise(SIGHUP);
    file.Keep();
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(folder.Names().size(), 1u);
}

TEST(SignalCleanup, DeferredSignalTakesEffectWhenTheWriteIsDone) {
  TestFolder folder;
  const std::string marker = folder / "finished";
  const int status = StatusOfChild([&] {
    {
      const SignalsDeferred deferred;
      raise(SIGTERM);
      WriteBytes(marker, "the write went on");
    }
    WriteBytes(folder / "after", "never");
  });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(ReadBytes(marker), "the write went on");
  EXPECT_EQ(folder.Names(), std::set<std::string>{"finished"});
}

}  // namespace
}  // namespace vemra
