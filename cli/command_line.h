// The command line read as a whole before the run prints anything: where
// the run's text goes (-quiet, -stdout) and whether there is a run at all
// (-help, -version) depends on every argument, whatever their order.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

#include "cli/run_settings.h"

namespace vemra {

struct CommandLine {
  RunSettings settings;  // as the arguments set it, left to right
  // How many arguments the run echoes: all of them, or those up to and
  // including the first whose value does not convert. The run then ends with
  // that failure, and the arguments after it count only for where its
  // failure line goes and for -help and -version.
  std::size_t echoed = 0;
  std::exception_ptr failure;  // the first value that did not convert; null when all did
};

CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// Refuses a line whose options cannot be carried out together or whose
// file names do not fit its mode, and an unknown option where it is not
// passed over (with -strict, -stdin or many files); throws EArgumentError,
// before any file is read.
void CheckArguments(const RunSettings& settings);

// The warnings about the unknown options passed over, one line each
// without a line end: 'unknown option "-tabwith=4" ignored; did you mean
// -tabwidth?'.
std::vector<std::string> UnknownOptionWarnings(const RunSettings& settings);

}  // namespace vemra
