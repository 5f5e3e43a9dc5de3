// The run over many files: every file name an input, named folders walked,
// several files worked on at once, one report per file in a fixed order and
// one summary line.
#pragma once

#include <ostream>

#include "cli/run_settings.h"

namespace vemra {

// Works on every input that settings.Names give (folders are walked only
// with settings.Files), settings.Jobs files at once. Prints the options line,
// one report per input sorted by path, whatever the number of jobs, and the
// summary line. A failure in one file does not stop the others. Returns
// kExitFailure when any input failed, kExitWouldChange when a review found a
// file that formatting would change, and kExitSuccess otherwise.
int RunManyFiles(std::ostream& console, const RunSettings& settings);

}  // namespace vemra
