// The command-line run of the program, from its argument list to its exit
// status. main() only hands over argv and std::cout.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vemra {

// Exit statuses of a run.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitWouldChange = 1;  // "check" or "diff": formatting would change the file
inline constexpr int kExitFailure = 2;

// Runs the program with the given arguments (without the program name),
// writing every console line to console; returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& console);

}  // namespace vemra
