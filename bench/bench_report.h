// The benchmark's table: one row per input, printed as soon as the input has
// been measured, and notes on runs that did not succeed.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "bench/process_run.h"

namespace vemra {

struct InputMeasurement {
  std::string name;                     // the input's short name
  std::size_t input_bytes = 0;          // size of the generated input
  std::size_t output_bytes = 0;         // size of the formatted file of the last run
  std::vector<ProcessRun> format_runs;  // the formatter, input to output
  std::vector<ProcessRun> pinned_runs;  // the same, pinned to one processor
  std::vector<ProcessRun> copy_runs;    // cp of the same input to a new file
  std::string console_line;             // the formatter's last console line when a run failed
};

double MedianSeconds(const std::vector<ProcessRun>& runs);
// The largest peak resident memory of the runs.
long PeakResidentKb(const std::vector<ProcessRun>& runs);
double MedianCpuSeconds(const std::vector<ProcessRun>& runs);

void PrintTableHeader(std::ostream& out);
void PrintTableRow(const InputMeasurement& measurement, std::ostream& out);

// What the columns mean, printed under the table.
void PrintLegend(std::ostream& out);

}  // namespace vemra
