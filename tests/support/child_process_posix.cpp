#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/support/child_process.h"

namespace vemra::testing {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// In the forked child: puts the standard streams in place, lets in_child
// change what the process may do, and runs the program, as a shell would,
// with SIGPIPE as a shell leaves it.
[[noreturn]] void ExecProgram(const std::string& program, const std::vector<std::string>& arguments,
                              int in, int out, int err, void (*in_child)()) {
  if (in_child != nullptr) in_child();
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  std::signal(SIGPIPE, SIG_DFL);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

// Waits for the child; past the deadline (when one is set) it is killed,
// and the status is kHung.
int WaitWithDeadline(pid_t child, std::chrono::milliseconds deadline) {
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

}  // namespace

ChildOutcome RunChild(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input, OutputTo output, std::chrono::milliseconds deadline,
                      void (*in_child)()) {
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
  if (child == 0) ExecProgram(program, arguments, in, out, err, in_child);
  for (const int fd : {in, out, err}) close(fd);
  ChildOutcome outcome{WaitWithDeadline(child, deadline), ReadAll(base + "/out"),
                       ReadAll(base + "/err")};
  for (const char* name : {"/in", "/out", "/err"}) unlink((base + name).c_str());
  rmdir(folder);
  return outcome;
}

ChildOutcome RunShellLine(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  ChildOutcome outcome;
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, got);
  const int status = pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

ChildOutcome RunProgramLine(const std::string& program, const std::string& arguments) {
  return RunShellLine(program + " " + arguments);
}

}  // namespace vemra::testing
