// What the system calls of a save show: every file it creates is private
// until complete, and a signal during a save leaves no unfinished file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "tests/base/test_folder.h"
#include "tests/cli/traced_run.h"

namespace vemra {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunArgv;
using testing::Strace;
using testing::TestFolder;
using testing::WriteBytes;

const std::string kOld = "proc A()\nx=1\nend\n";
const std::string kNew = "proc A()\r\n  x = 1\r\nend\r\n";

struct Layout {
  std::string name;
  bool hard_linked;  // written in place after a backup
  bool new_output;   // saved to a file that does not exist yet
};

const Layout kLayouts[] = {
    {"renamed into place", false, false},
    {"written in place", true, false},
    {"a new file", false, true},
};

// Sets up f.src (0640, so that a file created 0644 would show) and returns
// the program's arguments.
std::vector<std::string> Prepare(const TestFolder& folder, const Layout& layout) {
  WriteBytes(folder / "f.src", kOld);
  chmod((folder / "f.src").c_str(), 0640);
  if (layout.hard_linked) link((folder / "f.src").c_str(), (folder / "g.src").c_str());
  if (layout.new_output) return {"f.src", "out.src"};
  return {"f.src"};
}

// Follows the trace line by line: every file created must be created new
// (O_EXCL) with mode 0600, and get no other mode, owner or attribute before
// its last byte is written.
TEST(TracedSave, EveryFileASaveCreatesIsPrivateUntilItIsComplete) {
  if (!testing::StraceWorks()) GTEST_SKIP() << "strace is missing or may not trace here";
  const std::regex open_call(R"re(openat\([^,]+, "([^"]*)", ([A-Z_|]+)(, (0[0-7]+))?\) = (\d+))re");
  const std::regex fd_call(R"re((\w+)\((\d+),)re");
  for (const Layout& layout : kLayouts) {
    TestFolder folder;
    std::vector<std::string> argv =
        Strace(folder / "calls.log", {"-e",
                                      "trace=openat,write,copy_file_range,fchmod,fchown,fsetxattr,"
                                      "fremovexattr,close"});
    for (const std::string& argument : Prepare(folder, layout)) argv.push_back(argument);
    const ProcessResult run = RunArgv(argv, folder.Path(), folder.Path());
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.console;
    std::map<int, std::string> created;    // open descriptor: the file created on it
    std::map<int, bool> attributes_given;  // since then, a mode, owner or attribute
    int creations = 0;
    std::istringstream lines(ReadBytes(folder / "calls.log"));
    for (std::string line; std::getline(lines, line);) {
      std::smatch match;
      if (std::regex_search(line, match, open_call)) {
        if (match[2].str().find("O_CREAT") == std::string::npos) continue;
        ++creations;
        EXPECT_NE(match[2].str().find("O_EXCL"), std::string::npos) << line;
        EXPECT_EQ(match[4].str(), "0600") << line;
        created[std::stoi(match[5].str())] = match[1].str();
        attributes_given[std::stoi(match[5].str())] = false;
      } else if (std::regex_search(line, match, fd_call) && created.contains(std::stoi(match[2]))) {
        const int fd = std::stoi(match[2].str());
        const std::string call = match[1].str();
        if (call == "close") {
          created.erase(fd);
        } else if (call == "write" || call == "copy_file_range") {
          EXPECT_FALSE(attributes_given[fd]) << layout.name << ": written after " << line;
        } else {
          attributes_given[fd] = true;
        }
      }
    }
    // The new file, and in place the backup's copy.
    EXPECT_GE(creations, 1) << layout.name;
    EXPECT_EQ(ReadBytes(folder / (layout.new_output ? "out.src" : "f.src")), kNew);
  }
}

struct SignalCase {
  int signal_number;
  std::string call;  // the call at which the signal arrives
  bool hard_linked;
  std::string left;  // what f.src holds afterwards
};

TEST(TracedSave, SignalDuringASaveLeavesNoUnfinishedFileAndEndsTheRun) {
  if (!testing::StraceWorks()) GTEST_SKIP() << "strace is missing or may not trace here";
  const SignalCase cases[] = {
      // Before the new file is renamed into place: it goes, the old stays.
      {SIGTERM, "fsync", false, kOld},
      {SIGINT, "fsync", false, kOld},
      {SIGHUP, "fchmod", false, kOld},
      // While the backup's copy is written: it goes, the file is untouched.
      {SIGTERM, "fsync", true, kOld},
      // While the file is written over in place: the write is finished and
      // the backup removed before the run ends.
      {SIGTERM, "ftruncate", true, kNew},
  };
  for (const SignalCase& c : cases) {
    TestFolder folder;
    const std::string label = std::string(strsignal(c.signal_number)) + " at " + c.call +
                              (c.hard_linked ? ", hard-linked" : "");
    std::vector<std::string> argv =
        Strace("/dev/null",
               {"-e", "trace=" + c.call, "-e",
                "inject=" + c.call + ":signal=" + std::to_string(c.signal_number) + ":when=1"});
    for (const std::string& argument : Prepare(folder, Layout{"", c.hard_linked, false})) {
      argv.push_back(argument);
    }
    const ProcessResult run = RunArgv(argv, folder.Path(), folder.Path());
    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == c.signal_number) << label;
    EXPECT_EQ(ReadBytes(folder / "f.src"), c.left) << label;
    const std::set<std::string> names =
        c.hard_linked ? std::set<std::string>{"f.src", "g.src"} : std::set<std::string>{"f.src"};
    EXPECT_EQ(folder.Names(), names) << label;
  }
}

}  // namespace
}  // namespace vemra
