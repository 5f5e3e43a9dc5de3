// What the system calls of a save show: every file it creates is private
// until complete, and a signal during a save leaves no unfinished file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// One system call of a trace: "PID name(first, ..., last)   = result".
struct TracedCall {
  std::string name;
  std::vector<std::string> arguments;  // as strace shows them
  std::string result;
};

// Cuts a trace line into its call; arguments are split at ", " outside
// quotes, which is enough for the calls looked at here.
TracedCall ParseCall(const std::string& line) {
  TracedCall call;
  const std::size_t name = line.find_first_not_of(' ', line.find(' '));
  const std::size_t open = line.find('(', name);
  const std::size_t equals = line.rfind(" = ");
  const std::size_t close = equals == std::string::npos ? equals : line.rfind(')', equals);
  if (name == std::string::npos || open == std::string::npos || close == std::string::npos ||
      close < open) {
    return call;
  }
  call.name = line.substr(name, open - name);
  call.result = line.substr(equals + 3, line.find(' ', equals + 3) - (equals + 3));
  bool quoted = false;
  std::string argument;
  for (std::size_t at = open + 1; at < close; ++at) {
    if (line[at] == '"' && line[at - 1] != '\\') quoted = !quoted;
    if (!quoted && line.compare(at, 2, ", ") == 0) {
      call.arguments.push_back(argument);
      argument.clear();
      ++at;
    } else {
      argument += line[at];
    }
  }
  call.arguments.push_back(argument);
  return call;
}

// Follows the trace line by line: every file created must be created new
// (O_EXCL) with mode 0600, and get no other mode, owner or attribute before
// its last byte is written.
TEST(TracedSave, EveryFileASaveCreatesIsPrivateUntilItIsComplete) {
  if (!testing::StraceWorks()) GTEST_SKIP() << "strace is missing or may not trace here";
  for (const Layout& layout : kLayouts) {
    TestFolder folder;
    std::vector<std::string> argv =
        Strace(folder / "calls.log", {"-e",
                                      "trace=openat,write,copy_file_range,fchmod,fchown,fsetxattr,"
                                      "fremovexattr,close"});
    for (const std::string& argument : Prepare(folder, layout)) argv.push_back(argument);
    const ProcessResult run = RunArgv(argv, folder.Path(), folder.Path());
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.console;
    std::map<std::string, bool> attributes_given;  // per descriptor of a file created
    int creations = 0;
    std::istringstream lines(ReadBytes(folder / "calls.log"));
    for (std::string line; std::getline(lines, line);) {
      const TracedCall call = ParseCall(line);
      if (call.name == "openat" && call.arguments.size() >= 3 &&
          call.arguments[2].find("O_CREAT") != std::string::npos) {
        ++creations;
        EXPECT_NE(call.arguments[2].find("O_EXCL"), std::string::npos) << line;
        EXPECT_EQ(call.arguments.size() == 4 ? call.arguments[3] : "", "0600") << line;
        attributes_given[call.result] = false;
        continue;
      }
      // The descriptor a call acts on: copy_file_range writes to its third.
      const std::size_t target = call.name == "copy_file_range" ? 2 : 0;
      if (call.arguments.size() <= target || !attributes_given.contains(call.arguments[target])) {
        continue;
      }
      const std::string& fd = call.arguments[target];
      if (call.name == "close") {
        attributes_given.erase(fd);
      } else if (call.name == "write" || call.name == "copy_file_range") {
        EXPECT_FALSE(attributes_given[fd]) << layout.name << ": written after\n" << line;
      } else {
        attributes_given[fd] = true;
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
