// Another program writing to a file while a run writes over it in place:
// what it writes is never lost without the run saying so.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <future>
#include <set>
#include <string>

#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::RunResult;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kAppended = "appended by another program\n";

// Over ten megabytes, so that the write in place takes a while.
std::string LargeProgram() {
  std::string text;
  while (text.size() < 12 * 1000 * 1000) text += "proc A()\nx=1\n    end\n";
  return text;
}

// The names in a folder that were created, renamed into it or written to.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder) : fd_(inotify_init1(IN_CLOEXEC)) {
    inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_MODIFY);
  }
  ~FolderWatch() { close(fd_); }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Waits until name has been seen, or the deadline passes; false then.
  bool WaitFor(const std::string& name, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    alignas(inotify_event) char buffer[4096];
    while (!seen_.contains(name)) {
      if (std::chrono::steady_clock::now() >= end) return false;
      pollfd ready{fd_, POLLIN, 0};
      if (poll(&ready, 1, 10) <= 0) continue;
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0) seen_.insert(event->name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return true;
  }

 private:
  int fd_;
  std::set<std::string> seen_;
};

// A line appended through the file's other name, as `>> other` would.
void Append(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
  if (fd < 0) return;
  if (write(fd, kAppended.data(), kAppended.size()) < 0) ADD_FAILURE() << "append failed";
  close(fd);
}

TEST(ConcurrentWriter, AnAppendDuringAWriteInPlaceIsKeptOrTheRunFailsNamingTheBackup) {
  const std::string old_bytes = LargeProgram();
  std::string new_bytes;
  {
    TestFolder folder;
    WriteBytes(folder / "f.vem", old_bytes);
    testing::RunWithStreams({folder / "f.vem"}, "");
    new_bytes = ReadBytes(folder / "f.vem");
  }
  int appended_after_new_bytes = 0;
  for (int run_number = 1; run_number <= 30; ++run_number) {
    TestFolder folder;
    const std::string file = folder / "f.vem";
    const std::string backup = file + ".vemrafmt-backup";
    WriteBytes(file, old_bytes);
    ASSERT_EQ(link(file.c_str(), (folder / "other.vem").c_str()), 0);  // written in place
    FolderWatch watch(folder.Path());
    std::future<RunResult> run = std::async(std::launch::async, [&file] {
      return testing::RunWithStreams({file}, "", testing::OutputTo::kCapture,
                                     std::chrono::seconds(60));
    });
    const std::string label = "run " + std::to_string(run_number);
    // Half the runs append as the backup appears, half as the write over
    // the file begins.
    const bool backup_appeared =
        watch.WaitFor("f.vem.vemrafmt-backup", std::chrono::seconds(60)) &&
        (run_number % 2 == 1 || watch.WaitFor("f.vem", std::chrono::seconds(60)));
    // The other program may wait in its open until the write is complete.
    std::future<void> appender = std::async(std::launch::async, Append, folder / "other.vem");
    const RunResult result = run.get();
    appender.get();
    ASSERT_TRUE(backup_appeared) << label;
    ASSERT_NE(result.status, testing::kHung) << label;
    const std::string now = ReadBytes(file);
    if (result.status == 0) {
      // Compared as a whole, as a printed difference of such texts would
      // take gigabytes.
      EXPECT_TRUE(now == new_bytes + kAppended) << label << ": the appended line was lost";
      ++appended_after_new_bytes;
    } else {
      // The run names the file, and the backup when it kept one.
      EXPECT_EQ(result.status, 2) << label;
      EXPECT_NE(result.console.find(file), std::string::npos) << label << result.console;
      const bool kept = access(backup.c_str(), F_OK) == 0;
      EXPECT_EQ(result.console.find(backup) != std::string::npos, kept) << label << result.console;
      EXPECT_NE(now.find(kAppended), std::string::npos) << label << ": the line was lost";
    }
  }
  // Where the system grants the lease, the other program waits every time.
  EXPECT_GT(appended_after_new_bytes, 0);
}

// A file that another program holds open is not written over in place: its
// writes could mix with the new bytes.
TEST(ConcurrentWriter, AFileHeldOpenElsewhereIsNotWrittenOverInPlace) {
  TestFolder folder;
  const std::string file = folder / "f.vem";
  WriteBytes(file, testing::kUnformatted);
  ASSERT_EQ(link(file.c_str(), (folder / "other.vem").c_str()), 0);
  const int held = open((folder / "other.vem").c_str(), O_WRONLY | O_APPEND);
  const RunResult result =
      testing::RunWithStreams({file}, "", testing::OutputTo::kCapture, std::chrono::seconds(60));
  close(held);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.console.find("EFCreateError: Cannot create file \"" + file +
                                "\". It is open in another program, and was left as it is: "
                                "written over in place now, it could lose what that program "
                                "writes\n"),
            std::string::npos)
      << result.console;
  EXPECT_EQ(ReadBytes(file), testing::kUnformatted);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"f.vem", "other.vem"}));
}

}  // namespace
}  // namespace vemra
