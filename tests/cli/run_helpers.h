// Runs of the program for tests: in-process through the driver, or as the
// built program in a child process, with what it printed and its status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/driver.h"

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
  std::string console;
};

inline RunResult RunDriver(const std::vector<std::string>& arguments) {
  std::ostringstream console;
  const int status = RunCommandLine(arguments, console);
  return {status, console.str()};
}

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
  RunResult run{-1, ""};
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

}  // namespace vemra::testing
