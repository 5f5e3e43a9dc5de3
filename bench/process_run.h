// Runs a program as a child process and measures it the way the benchmark
// reports it: wall time from start to reaped exit, and the child's peak
// resident memory as the kernel accounted it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vemra {

// Limits set in the child before it starts the program, so that a runaway
// run ends instead of holding the machine; 0 means no limit.
struct ProcessLimits {
  unsigned cpu_seconds = 0;      // CPU time after which the kernel ends it
  std::size_t memory_bytes = 0;  // address space the child may map
  int only_cpu = -1;             // the one processor it may run on, as taskset -c; -1: any
};

struct ProcessRun {
  double wall_seconds = 0;    // from fork to the reaped exit
  double cpu_seconds = 0;     // user and system time of the child
  long peak_resident_kb = 0;  // ru_maxrss of the child
  int exit_status = 0;        // the exit code when it exited normally
  int signal = 0;             // the signal that ended it, 0 if none
  bool Succeeded() const { return signal == 0 && exit_status == 0; }
};

// Files a child's standard streams are connected to; an empty name leaves
// the stream as this process has it (error: where output goes).
struct ChildStreams {
  std::string input;
  std::string output;
  std::string error;
};

// Runs arguments[0] (searched on PATH) with the given arguments and streams.
// Throws Exception when no child process can be started; a program that
// cannot be executed shows up as exit status 127.
ProcessRun RunProcess(const std::vector<std::string>& arguments, const ChildStreams& streams,
                      const ProcessLimits& limits);

// The same, with standard output and error both going to console_path and,
// when input_path is given, standard input read from there.
ProcessRun RunProcess(const std::vector<std::string>& arguments, const std::string& console_path,
                      const ProcessLimits& limits, const std::string& input_path = {});

// The last line of a run's console file that is not empty once its trailing
// blanks and CRs are gone: what a failed run said last.
std::string LastConsoleLine(const std::string& path);

}  // namespace vemra
