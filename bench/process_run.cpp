#include "bench/process_run.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>

#include "base/failures.h"

namespace vemra {
namespace {

constexpr int kExecFailed = 127;

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Connects the stream fd to the named file, opened with flags; nothing for
// an empty name. Runs in the forked child.
void Connect(int fd, const char* path, int flags) {
  if (path[0] == '\0') return;
  const int file = open(path, flags, 0644);
  if (file < 0) _exit(kExecFailed);
  dup2(file, fd);
  close(file);
}

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void StartChild(char* const* argv, const ChildStreams& streams,
                             const ProcessLimits& limits) {
  constexpr int kWritten = O_WRONLY | O_CREAT | O_TRUNC;
  Connect(STDIN_FILENO, streams.input.c_str(), O_RDONLY);
  Connect(STDOUT_FILENO, streams.output.c_str(), kWritten);
  if (streams.error.empty()) {
    if (!streams.output.empty()) dup2(STDOUT_FILENO, STDERR_FILENO);
  } else {
    Connect(STDERR_FILENO, streams.error.c_str(), kWritten);
  }
  if (limits.cpu_seconds > 0) {
    rlimit cpu{limits.cpu_seconds, limits.cpu_seconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
  }
  if (limits.memory_bytes > 0) {
    rlimit memory{limits.memory_bytes, limits.memory_bytes};
    setrlimit(RLIMIT_AS, &memory);
  }
  if (limits.only_cpu >= 0) {
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    CPU_SET(limits.only_cpu, &cpus);
    if (sched_setaffinity(0, sizeof cpus, &cpus) != 0) _exit(kExecFailed);
  }
  execvp(argv[0], argv);
  _exit(kExecFailed);
}

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& arguments, const std::string& console_path,
                      const ProcessLimits& limits, const std::string& input_path) {
  return RunProcess(arguments, ChildStreams{input_path, console_path, ""}, limits);
}

ProcessRun RunProcess(const std::vector<std::string>& arguments, const ChildStreams& streams,
                      const ProcessLimits& limits) {
  // Built before the fork: the child must not allocate.
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child < 0) throw Exception("cannot start " + arguments[0] + ": " + std::strerror(errno));
  if (child == 0) StartChild(argv.data(), streams, limits);

  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) throw Exception("cannot wait for " + arguments[0]);
  }
  const auto end = std::chrono::steady_clock::now();

  ProcessRun run;
  run.wall_seconds = std::chrono::duration<double>(end - start).count();
  run.cpu_seconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.peak_resident_kb = usage.ru_maxrss;
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

std::string LastConsoleLine(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line, last;
  while (std::getline(file, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) last = line;
  }
  return last;
}

}  // namespace vemra
