// The command-line run of the program, from its argument list to its exit
// status. main() only hands over argv and the standard streams.
#pragma once

#include <string>
#include <vector>

#include "cli/console.h"

namespace vemra {

// Exit statuses of a run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitWouldChange = 1;  // "check" or "diff": formatting would change the file
inline constexpr int kExitFailure = 2;

// Runs the program with the given arguments (without the program name),
// reading standard input (-stdin) from streams.input_fd and writing to
// streams.out and streams.err; returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, const StandardStreams& streams);

}  // namespace vemra
