// The run over many files: every file name an input, named folders walked,
// several files worked on at once, one report per file in a fixed order and
// one summary line.
#pragma once

#include "cli/console.h"
#include "cli/run_settings.h"

namespace vemra {

// Works on every input that settings.Names give (folders are walked only
// with settings.Files), settings.Jobs files at once. Prints the options line,
// one report per input sorted by path, whatever the number of jobs, and the
// summary line (in a silent run only the verdicts of a review and the
// summary on standard output, and the failures on standard error). A failure in one file does not
// stop the others. Returns kExitFailure when any input failed, kExitWouldChange when a review found
// a file that formatting would change, and kExitSuccess otherwise.
int RunManyFiles(Console& console, const RunSettings& settings);

}  // namespace vemra
