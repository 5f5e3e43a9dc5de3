// The formatter's peak memory on large inputs, in every way a text reaches
// it: as a one-file run into a new file, and with -stdin=1 -stdout=1 from a
// pipe and from the file itself on standard input. Each peak stands beside
// the most the formatter may take: the larger of input and result, plus
// 64 MB.
#pragma once

#include <ostream>
#include <string>

#include "bench/process_run.h"

namespace vemra {

struct MemoryRunFiles {
  std::string formatter;  // the program measured
  std::string input;      // the input, written already
  std::string output;     // where a run's result goes
  std::string console;    // a run's console output
};

void PrintMemoryTableHeader(std::ostream& out);
// One row per way of running, for the input of the given name and size.
void MeasureMemory(const std::string& name, std::size_t input_bytes, const MemoryRunFiles& files,
                   const ProcessLimits& limits, std::ostream& out);
void PrintMemoryLegend(std::ostream& out);

}  // namespace vemra
