// The counts of a many-files run, its closing line and its exit status.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "cli/file_job.h"

namespace vemra {

class RunSummary {
 public:
  void Count(FileOutcome outcome) { ++counts_[static_cast<std::size_t>(outcome)]; }
  // Files a walk left out as git ignores them.
  void CountIgnored(std::size_t files) {
    counts_[static_cast<std::size_t>(FileOutcome::kIgnored)] += files;
  }

  // "3 files reformatted, 120 unchanged, 1 failed", or for a review
  // "3 files would be reformatted, 120 already formatted, 1 failed"; with
  // ", 2 skipped" after it when links were skipped, and ", 5 ignored" when
  // git's rules or the project's settings left files out of a walk.
  std::string Line(bool review) const;

  // kExitFailure when any file failed, else kExitWouldChange when a review
  // found a file that formatting would change, else kExitSuccess.
  int ExitStatus() const;

 private:
  std::size_t CountOf(FileOutcome outcome) const {
    return counts_[static_cast<std::size_t>(outcome)];
  }

  std::array<std::size_t, 7> counts_{};  // files per outcome
};

}  // namespace vemra
