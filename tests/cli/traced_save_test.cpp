// What the system calls of a save show: every file it creates is private
// until complete, and a signal during a save leaves no unfinished file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
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

// A call of a trace taken with strace -y, which shows each descriptor with
// the path of its file: "fsync(4</tmp/x/f.src>)" gives the name "fsync"
// and the path "/tmp/x/f.src".
struct Durable {
  std::string name;
  std::string path;       // of the first argument's descriptor
  std::string arguments;  // as strace shows them
};

// The calls in the order they completed; a call that another thread's
// calls interrupted in the trace completes where it is resumed.
std::vector<Durable> CompletedCalls(const std::string& trace) {
  std::vector<Durable> calls;
  std::map<std::string, std::string> unfinished;  // per process: the call's start
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const std::string pid = line.substr(0, line.find(' '));
    // strace pads the process id with blanks.
    std::string text = line.substr(line.find_first_not_of(' ', pid.size()));
    if (text.ends_with("<unfinished ...>")) {
      unfinished[pid] = text;
      continue;
    }
    if (text.starts_with("<... ")) {
      const std::size_t rest = text.find("resumed>");
      if (rest == std::string::npos) continue;
      text = unfinished[pid].substr(0, unfinished[pid].find(" <unfinished")) +
             text.substr(rest + std::strlen("resumed>"));
    }
    const std::size_t open = text.find('(');
    if (open == std::string::npos) continue;
    Durable call{text.substr(0, open), "", text.substr(open + 1)};
    const std::size_t path = call.arguments.find('<');
    if (path != std::string::npos && path < call.arguments.find(',')) {
      call.path = call.arguments.substr(path + 1, call.arguments.find('>', path) - path - 1);
    }
    calls.push_back(std::move(call));
  }
  return calls;
}

// The index of the first call after from that matches, or -1.
template <typename Match>
int Find(const std::vector<Durable>& calls, Match match, int from = 0) {
  for (int i = std::max(from, 0); i < static_cast<int>(calls.size()); ++i) {
    if (match(calls[static_cast<std::size_t>(i)])) return i;
  }
  return -1;
}

// The rename that puts name in place, and the temporary name it came from.
std::pair<int, std::string> RenameTo(const std::vector<Durable>& calls, const std::string& name) {
  const int at = Find(calls, [&name](const Durable& call) {
    return call.name.starts_with("rename") &&
           call.arguments.find(", \"" + name + "\"") != std::string::npos;
  });
  if (at < 0) return {at, ""};
  const std::string& arguments = calls[static_cast<std::size_t>(at)].arguments;
  const std::size_t quote = arguments.find('"');
  return {at, arguments.substr(quote + 1, arguments.find('"', quote + 1) - quote - 1)};
}

int FsyncOf(const std::vector<Durable>& calls, const std::string& path, int from = 0) {
  return Find(
      calls, [&path](const Durable& call) { return call.name == "fsync" && call.path == path; },
      from);
}

// Every promise of durability holds in the order of the calls, on each way
// a file is saved: a new file's bytes are on disk before the rename puts it
// in place, and the folder is flushed after it; in place, the backup is on
// disk under its name before the file is first written, and the file's new
// bytes are on disk before the backup goes.
TEST(TracedSave, EachRouteFlushesBeforeItRenamesOrRemovesAndFlushesTheFolderAfter) {
  if (!testing::StraceWorks()) GTEST_SKIP() << "strace is missing or may not trace here";
  const std::vector<std::vector<std::string>> command_lines = {
      {"f.src"}, {"f.src", "out.src"}, {"f.src"}, {"-files=1", "f.src", "h.src"}};
  for (std::size_t route = 0; route < command_lines.size(); ++route) {
    TestFolder folder;
    const bool in_place = route == 2;
    const bool batch = route == 3;
    Prepare(folder, Layout{"", in_place, false});
    WriteBytes(folder / "h.src", kOld);
    std::vector<std::string> argv =
        Strace(folder / "calls.log",
               {"-y", "-e",
                "trace=write,pwrite64,copy_file_range,ftruncate,fsync,fdatasync,syncfs,"
                "renameat,renameat2,unlinkat"});
    argv.insert(argv.end(), command_lines[route].begin(), command_lines[route].end());
    const ProcessResult run = RunArgv(argv, folder.Path(), folder.Path());
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.console;
    const std::vector<Durable> calls = CompletedCalls(ReadBytes(folder / "calls.log"));
    const std::string label = "route " + std::to_string(route);
    if (in_place) {
      const auto [placed, copy] = RenameTo(calls, "f.src.vemrafmt-backup");
      const int first_write = Find(calls, [&folder](const Durable& call) {
        return (call.name == "write" || call.name == "pwrite64") && call.path == folder / "f.src";
      });
      const int removed = Find(calls, [](const Durable& call) {
        return call.name == "unlinkat" &&
               call.arguments.find("\"f.src.vemrafmt-backup\"") != std::string::npos;
      });
      ASSERT_TRUE(placed >= 0 && first_write >= 0 && removed >= 0) << label;
      const int copy_flushed = FsyncOf(calls, folder / copy);
      EXPECT_TRUE(copy_flushed >= 0 && copy_flushed < placed) << label << ": backup flushed";
      const int folder_flushed = FsyncOf(calls, folder.Path(), placed);
      EXPECT_TRUE(folder_flushed >= 0 && folder_flushed < first_write)
          << label << ": the backup's name flushed before the file is written";
      const int file_flushed = FsyncOf(calls, folder / "f.src", first_write);
      EXPECT_TRUE(file_flushed >= 0 && file_flushed < removed)
          << label << ": the file flushed before its backup goes";
      continue;
    }
    // Every file of a batch is on disk before the first of them is renamed:
    // its own flush, which reports its failures, comes after the batch's one
    // flush of the whole file system, which makes it cheap.
    std::vector<std::pair<int, std::string>> renames;
    for (const std::string& name : command_lines[route]) {
      if (name.starts_with("-") || (route == 1 && name == "f.src")) continue;
      renames.push_back(RenameTo(calls, name));
      ASSERT_GE(renames.back().first, 0) << label << ": " << name;
    }
    const int first_rename = std::min_element(renames.begin(), renames.end())->first;
    const int last_rename = std::max_element(renames.begin(), renames.end())->first;
    const int file_system_flushed =
        Find(calls, [](const Durable& call) { return call.name == "syncfs"; });
    for (const auto& [renamed, temp] : renames) {
      const int flushed = FsyncOf(calls, folder / temp);
      EXPECT_TRUE(flushed >= 0 && flushed < first_rename) << label << ": " << temp << " flushed";
      if (batch) {
        EXPECT_LT(file_system_flushed, flushed) << label << ": file system flushed first";
      }
    }
    if (batch) {
      EXPECT_GE(file_system_flushed, 0) << label << ": file system flushed";
      EXPECT_EQ(Find(
                    calls, [](const Durable& call) { return call.name == "syncfs"; },
                    file_system_flushed + 1),
                -1)
          << label << ": one file system, flushed once";
    }
    EXPECT_GE(FsyncOf(calls, folder.Path(), last_rename), 0) << label << ": folder flushed";
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
