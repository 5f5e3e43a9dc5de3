// The code-base benchmark: thousands of small generated programs in nested
// folders, formatted and checked by one run of the formatter in its
// many-files mode, beside the same work done by one formatter process per
// file through find -exec; and checked inside a git work tree, by its
// ignore rules and without them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vemra {

struct CodeBaseOptions {
  std::string formatter;            // the program measured
  std::string folder;               // an empty folder for the code base
  std::size_t files = 10000;        // programs in the code base
  std::size_t file_bytes = 10000;   // approximate size of each
  std::size_t runs = 5;             // runs of each command
  std::size_t memory_limit_mb = 0;  // address space a formatter run may map; 0: none
  unsigned cpu_limit_seconds = 0;   // a run taking longer is ended; 0: no limit
};

// One generated file: where it goes below the code base's folder, and its
// bytes.
struct CodeBaseFile {
  std::string path;  // "dNN/fNNNNN.vem"
  std::string bytes;
};

// File number index of the code base: a program from a fixed seed of about
// file_bytes bytes, in a folder of up to 100 files.
CodeBaseFile CodeBaseFileAt(std::size_t index, std::size_t file_bytes);

// Generates the code base beside options.folder, runs each command
// options.runs times (alternating, each on the unformatted files copied
// into options.folder and synced) and prints a table: median and fastest wall time, median CPU
// time, peak resident memory, each many-files run's time against find -exec, and the fastest
// save of the code base against the fastest copy of it.
void MeasureCodeBase(const CodeBaseOptions& options, std::ostream& out);

}  // namespace vemra
