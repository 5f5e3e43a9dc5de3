// Runs of the program for tests: in-process through the driver, or as the
// built program in a child process, with what it printed and its status.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"

namespace vemra::testing {

inline const std::string kBanner =
    "Vemra Code Formatter\n"
    "Written by the Vemra Code Formatter developers\n"
    "https://vemra.org/formatter\n"
    "\n";

// A small program formatted already, and the same program unformatted.
inline const std::string kFormatted = "proc A()\r\n  x = 1\r\nend\r\n";
inline const std::string kUnformatted = "proc A()\nx=1\n    end\n";

struct RunResult {
  int status;
  std::string console;  // standard output
  std::string errors;   // standard error
};

// Runs the driver in this process, with input as its standard input.
inline RunResult RunDriver(const std::vector<std::string>& arguments,
                           const std::string& input = "") {
  std::FILE* const in = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::fflush(in);
  std::rewind(in);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunCommandLine(arguments, {fileno(in), out, err});
  std::fclose(in);
  return {status, out.str(), err.str()};
}

// The bytes a one-file run saves for the given input, with the options.
inline std::string OneFileResult(const std::string& bytes, std::vector<std::string> options = {}) {
  TestFolder folder;
  const std::string path = folder / "one.vem";
  WriteBytes(path, bytes);
  options.push_back(path);
  const RunResult run = RunDriver(options);
  EXPECT_EQ(run.status, kExitSuccess) << run.console;
  return ReadBytes(path);
}

// A file's bytes and modification time, to see that a run left it alone.
struct FileState {
  std::string bytes;
  timespec modified;
  bool operator==(const FileState& other) const {
    return bytes == other.bytes && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
  }
};

inline FileState StateOf(const std::string& path) {
  return {ReadBytes(path), StatOf(path).st_mtim};
}

// A test folder holding one file, in.vem, made old so that a write to it
// shows; for tables of command lines in which "@IN" stands for the file
// and "@DIR" for the folder.
class FolderWithInput {
 public:
  explicit FolderWithInput(const std::string& bytes = kUnformatted) {
    WriteBytes(input, bytes);
    MakeOld(input);
    before_ = StateOf(input);
  }

  // text with "@IN" and "@DIR" put in place.
  std::string Fill(std::string_view text) const {
    std::string filled;
    while (!text.empty()) {
      if (text.starts_with("@IN")) {
        filled += input;
        text.remove_prefix(3);
      } else if (text.starts_with("@DIR")) {
        filled += folder.Path();
        text.remove_prefix(4);
      } else {
        filled += text.front();
        text.remove_prefix(1);
      }
    }
    return filled;
  }
  std::vector<std::string> Fill(const std::vector<std::string>& arguments) const {
    std::vector<std::string> filled;
    for (const std::string& argument : arguments) filled.push_back(Fill(argument));
    return filled;
  }

  // Whether the file is as it was made, and the folder holds nothing else.
  bool Untouched() const {
    return StateOf(input) == before_ && folder.Names() == std::set<std::string>{"in.vem"};
  }

  const TestFolder folder;
  const std::string input = folder / "in.vem";

 private:
  FileState before_;
};

// The argument echo lines for these arguments.
inline std::string Echo(const std::vector<std::string>& arguments) {
  std::string lines;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    lines += std::to_string(i + 1) + " : " + arguments[i] + "\n";
  }
  return lines;
}

// Runs a shell command; what it printed and its exit status.
inline RunResult RunShellCommand(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  RunResult run{-1, "", ""};
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.console.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Runs the built program with arguments as a shell would split them.
inline RunResult RunProgram(const std::string& arguments) {
  return RunShellCommand(std::string(VEMRA_BINARY) + " " + arguments);
}

// Where the built program's standard output goes in RunWithStreams.
enum class OutputTo {
  kCapture,     // into RunResult::console
  kDevFull,     // /dev/full: every write fails for want of space
  kClosedPipe,  // a pipe whose reader is gone
};

namespace detail {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// In the forked child: puts the standard streams in place, lets in_child
// change what the process may do, and runs the program, as a shell would,
// with SIGPIPE as a shell leaves it.
[[noreturn]] inline void ExecProgram(const std::vector<std::string>& arguments, int in, int out,
                                     int err, void (*in_child)()) {
  if (in_child != nullptr) in_child();
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  std::signal(SIGPIPE, SIG_DFL);
  std::vector<char*> argv{const_cast<char*>(VEMRA_BINARY)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

}  // namespace detail

// The status RunWithStreams gives a run that passed its deadline.
inline constexpr int kHung = -2;

namespace detail {

// Waits for the child; past the deadline (when one is set) it is killed,
// and the status is kHung.
inline int WaitWithDeadline(pid_t child, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  int status = 0;
  while (deadline.count() > 0 && waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= end) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return kHung;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (deadline.count() == 0) waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace detail

// Runs the built program in a child process with input on its standard
// input (a file), its standard output as asked and its standard error
// captured; the status is -1 when a signal ended it, and kHung when it ran
// past a deadline (none when zero). in_child, if given, runs in the child
// first (to give up rights or lower limits).
inline RunResult RunWithStreams(const std::vector<std::string>& arguments, const std::string& input,
                                OutputTo output = OutputTo::kCapture,
                                std::chrono::milliseconds deadline = {},
                                void (*in_child)() = nullptr) {
  char folder[] = "/tmp/vemra-streams-XXXXXX";
  if (mkdtemp(folder) == nullptr) return {-1, "", "no folder"};
  const std::string base = folder;
  { std::ofstream(base + "/in", std::ios::binary) << input; }
  const int in = open((base + "/in").c_str(), O_RDONLY);
  const int err = open((base + "/err").c_str(), O_WRONLY | O_CREAT, 0600);
  int out = -1;
  int pipe_ends[2] = {-1, -1};
  if (output == OutputTo::kCapture) out = open((base + "/out").c_str(), O_WRONLY | O_CREAT, 0600);
  if (output == OutputTo::kDevFull) out = open("/dev/full", O_WRONLY);
  if (output == OutputTo::kClosedPipe && pipe(pipe_ends) == 0) {
    close(pipe_ends[0]);
    out = pipe_ends[1];
  }
  const pid_t child = fork();
  if (child == 0) detail::ExecProgram(arguments, in, out, err, in_child);
  for (const int fd : {in, out, err}) close(fd);
  RunResult run{detail::WaitWithDeadline(child, deadline), detail::ReadAll(base + "/out"),
                detail::ReadAll(base + "/err")};
  for (const char* name : {"/in", "/out", "/err"}) unlink((base + name).c_str());
  rmdir(folder);
  return run;
}

}  // namespace vemra::testing
