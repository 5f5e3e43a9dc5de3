#include "bench/process_run.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "base/failures.h"

namespace vemra {
namespace {

constexpr int kExecFailed = 127;

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void StartChild(char* const* argv, const char* console_path, const char* input_path,
                             const ProcessLimits& limits) {
  if (input_path != nullptr) {
    const int input = open(input_path, O_RDONLY);
    if (input >= 0) {
      dup2(input, STDIN_FILENO);
      close(input);
    }
  }
  int console = open(console_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (console >= 0) {
    dup2(console, STDOUT_FILENO);
    dup2(console, STDERR_FILENO);
    close(console);
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
  // Built before the fork: the child must not allocate.
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child < 0) throw Exception("cannot start " + arguments[0] + ": " + std::strerror(errno));
  if (child == 0) {
    StartChild(argv.data(), console_path.c_str(), input_path.empty() ? nullptr : input_path.c_str(),
               limits);
  }

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

}  // namespace vemra
