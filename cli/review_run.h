// The review modes of a run ("check" and "diff"): the file is loaded and
// formatted as usual, but never saved; the run reports whether formatting
// would change it, and "diff" also shows how.
#pragma once

#include <ostream>
#include <string>

#include "cli/run_settings.h"

namespace vemra {

// Loads and formats settings.InputPath, printing the same
// progress lines as a formatting run, then one line saying whether the file
// is already formatted, and with settings.Diff the unified diff. Returns
// kExitSuccess when formatting would change nothing, kExitWouldChange when it
// would change the file's bytes. Failures leave as exceptions.
int ReviewFile(std::ostream& console, const RunSettings& settings);

}  // namespace vemra
