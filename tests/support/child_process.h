// Runs a program in a child process for the tests, with its standard
// streams connected to files or a pipe, and a deadline past which it is
// killed. One implementation per system (child_process_posix.cpp,
// child_process_windows.cpp), picked by CMake.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vemra::testing {

// Where the child's standard output goes.
enum class OutputTo {
  kCapture,     // into ChildOutcome::output
  kDevFull,     // /dev/full, where every write fails for want of space (Linux only)
  kClosedPipe,  // a pipe whose reader is gone
};

// The status of a run that passed its deadline and was killed.
inline constexpr int kHung = -2;

// Far beyond what any run of the program in the tests takes, and far below
// the test runner's own limit.
inline constexpr std::chrono::seconds kChildDeadline{120};

struct ChildOutcome {
  int status = -1;     // the exit status; -1 when a signal ended it or it did not start
  std::string output;  // standard output, when captured
  std::string errors;  // standard error
};

// Runs program with arguments (each passed as it is, whatever it holds),
// input on its standard input (a file), its standard output as asked and
// its standard error captured. Past the deadline (none when zero) the
// child is killed and the status is kHung. in_child, if given, runs in the
// child before the program starts (POSIX only: elsewhere the run fails).
ChildOutcome RunChild(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input, OutputTo output, std::chrono::milliseconds deadline,
                      void (*in_child)());

// Runs program with its arguments written as one line, as a user types it:
// split by the shell on POSIX (so its globs and quotes apply), by the
// program itself on Windows. Standard output is captured, standard error
// goes where this process's goes. On Windows a run still going at
// kChildDeadline is killed, with the status kHung.
ChildOutcome RunProgramLine(const std::string& program, const std::string& arguments);

// Runs a command line of the POSIX shell; what it printed on standard
// output and its exit status. Where there is no such shell the status is -1.
ChildOutcome RunShellLine(const std::string& command);

}  // namespace vemra::testing
