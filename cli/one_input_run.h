// The run over one file: load, format and save it, one progress line a step.
#pragma once

#include <ostream>

#include "cli/run_settings.h"

namespace vemra {

// Loads settings.InputPath, formats it and saves the result to
// settings.OutputPath, or over the input when no output is named. The
// files are opened through their names as given; the console shows their
// full paths. Failures leave as exceptions, the console line of the failed
// step open.
void FormatOneFile(std::ostream& console, const RunSettings& settings);

}  // namespace vemra
