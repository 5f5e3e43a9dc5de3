#include "cli/source_warnings.h"

namespace vemra {

bool ReportSourceWarnings(Console& console, const RunSettings& settings, const std::string& name,
                          const SourceDiagnostics& diagnostics) {
  bool any_warning = false;
  for (const SourceDiagnostic& diagnostic : diagnostics) {
    const bool warning = diagnostic.severity == DiagnosticSeverity::kWarning;
    any_warning = any_warning || warning;
    if (settings.Quiet) continue;
    console.Warn(name + ":" + std::to_string(diagnostic.line) + ": " +
                 (warning ? "warning: " : "note: ") + diagnostic.message);
  }
  return any_warning && settings.Strict;
}

}  // namespace vemra
