// The start-up benchmark: a program of 1 KB formatted from standard input
// to standard output, as an editor runs the formatter on every save, beside
// cat copying the same bytes. With so little to format, the time is what
// starting and ending the program costs.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace vemra {

struct StartUpOptions {
  std::string formatter;   // the program measured
  std::string folder;      // where its input and output files go
  std::size_t runs = 500;  // runs of each command, taking turns
};

// Runs each command options.runs times, alternating, and prints their
// median and 90th percentile wall time, median CPU time and peak memory.
void MeasureStartUp(const StartUpOptions& options, std::ostream& out);

}  // namespace vemra
