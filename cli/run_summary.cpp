#include "cli/run_summary.h"

#include "cli/driver.h"

namespace vemra {

std::string RunSummary::Line(bool review) const {
  const std::size_t changed =
      CountOf(review ? FileOutcome::kWouldReformat : FileOutcome::kReformatted);
  const std::size_t unchanged =
      CountOf(review ? FileOutcome::kAlreadyFormatted : FileOutcome::kUnchanged);
  const std::size_t skipped = CountOf(FileOutcome::kSkipped);
  const std::size_t ignored = CountOf(FileOutcome::kIgnored);
  // Without skipped links or files left out, the line is the one runs have
  // always printed.
  return std::to_string(changed) + (changed == 1 ? " file " : " files ") +
         (review ? "would be reformatted, " : "reformatted, ") + std::to_string(unchanged) +
         (review ? " already formatted, " : " unchanged, ") +
         std::to_string(CountOf(FileOutcome::kFailed)) + " failed" +
         (skipped > 0 ? ", " + std::to_string(skipped) + " skipped" : "") +
         (ignored > 0 ? ", " + std::to_string(ignored) + " ignored" : "");
}

int RunSummary::ExitStatus() const {
  if (CountOf(FileOutcome::kFailed) > 0) return kExitFailure;
  return CountOf(FileOutcome::kWouldReformat) > 0 ? kExitWouldChange : kExitSuccess;
}

}  // namespace vemra
