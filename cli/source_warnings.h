// The findings on a text's blocks, on the command line: one line each on
// standard error, "PATH:LINE: warning: ..." (or "note:"), the form
// compilers use, which editors and CI logs link to the line.
#pragma once

#include <string>

#include "cli/console.h"
#include "cli/run_settings.h"
#include "formatter/source_diagnostics.h"

namespace vemra {

// Writes the findings unless the run is quiet; returns whether they fail
// the run: a warning does under -strict=1.
bool ReportSourceWarnings(Console& console, const RunSettings& settings, const std::string& name,
                          const SourceDiagnostics& diagnostics);

}  // namespace vemra
