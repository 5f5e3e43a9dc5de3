// Runs of the built program under strace, which can stop it at a chosen
// system call with a signal, or record the calls it makes.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vemra::testing {

struct ProcessResult {
  int status = -1;      // as waitpid gives it
  std::string console;  // standard output
};

// Runs argv (found on PATH) with TMPDIR set to temp_folder and the working
// folder set to folder, standard error discarded.
inline ProcessResult RunArgv(const std::vector<std::string>& argv, const std::string& folder,
                             const std::string& temp_folder) {
  int out[2];
  if (pipe(out) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    close(out[0]);
    if (chdir(folder.c_str()) != 0) _exit(126);
    setenv("TMPDIR", temp_folder.c_str(), 1);
    std::vector<char*> pointers;
    for (const std::string& argument : argv)
      pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    execvp(pointers[0], pointers.data());
    _exit(127);
  }
  close(out[1]);
  ProcessResult result;
  char buffer[4096];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) {
    result.console.append(buffer, static_cast<std::size_t>(got));
  }
  close(out[0]);
  waitpid(child, &result.status, 0);
  return result;
}

// Whether strace is there and may trace a child here.
inline bool StraceWorks() {
  const ProcessResult run =
      RunArgv({"strace", "-f", "-qq", "-o", "/dev/null", "true"}, "/", "/tmp");
  return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

// strace's arguments in front of the program's: every process followed,
// no notes of its own, and the trace written to trace_file. The leak check
// of a sanitizer build cannot run under a tracer, and is turned off.
inline std::vector<std::string> Strace(const std::string& trace_file,
                                       std::initializer_list<std::string> options) {
  std::vector<std::string> argv = {
      "strace", "-f", "-qq", "-o", trace_file, "-E", "ASAN_OPTIONS=detect_leaks=0"};
  argv.insert(argv.end(), options);
  argv.push_back("--");
  argv.push_back(VEMRA_BINARY);
  return argv;
}

}  // namespace vemra::testing
