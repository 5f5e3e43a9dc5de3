// The run over one input: a named file, or the text on standard input. It
// is loaded and formatted, one progress line a step, and then saved (over
// the file, or to OUTPUT), written to standard output, or reviewed.
#pragma once

#include "cli/console.h"
#include "cli/run_settings.h"

namespace vemra {

// Loads settings.InputPath, or with settings.Stdin the text on input_fd, and
// formats it. A review then prints its verdict and returns kExitSuccess or
// kExitWouldChange; with settings.WritesStandardOutput() the result is
// written to standard output, and nothing else; otherwise it is saved to
// settings.OutputPath, or over the input when no output is named. Files are
// opened through their names as given; the progress lines show their full
// paths. Failures leave as exceptions, the progress line of the failed step
// open.
int RunOneInput(Console& console, const RunSettings& settings, int input_fd);

}  // namespace vemra
