// One input of a many-files run, from its name to the report that the run
// prints for it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/input_walk.h"
#include "cli/review_verdict.h"
#include "cli/run_settings.h"

namespace vemra {

class PendingSave;
class ProjectSettings;

enum class FileOutcome {
  kReformatted,       // formatted and saved
  kUnchanged,         // already formatted: not written
  kWouldReformat,     // review: formatting would change it
  kAlreadyFormatted,  // review: formatting would not change it
  kFailed,            // not done, for the reason the report gives
  kSkipped,           // a symbolic link a walk met: not followed
  kIgnored,           // a walked file the project's settings leave alone: not read
};

// A formatted text written beside its file, waiting to be flushed and put
// in its place.
struct StagedSave {
  StagedSave(std::string path, std::string bytes);
  ~StagedSave();
  StagedSave(const StagedSave&) = delete;
  StagedSave& operator=(const StagedSave&) = delete;

  const std::string path;             // as reported
  const std::string bytes;            // the formatted text; the pending save points into it
  std::unique_ptr<PendingSave> save;  // written, not yet durable nor committed
};

struct FileReport {
  FileOutcome outcome;
  std::string text;  // what the run prints for the file, every line ended by LF
  // With kReformatted: the save still to be made durable and committed; the
  // report holds only once that has succeeded.
  std::unique_ptr<StagedSave> staged;
  // The options line of the options the file was formatted with (without a
  // line end); empty when it was not formatted.
  std::string options_line = {};
  std::vector<std::string> warnings = {};  // for standard error, one line each
  std::string data = {};                   // what standard output carries for it: a patch, a name
};

// Loads and formats the input and, unless the settings ask for a review,
// stages its save over itself: the stages of a one-file run's save up to
// the point where the new bytes are written beside the file (nothing is
// staged when the file is formatted already). Never throws: a failure is
// the report "PATH: EClass: message", a skipped link "Skipped link: PATH".
// The options are the command line's over the project's settings for the
// file; a review prints what review asks for; a walked file they skip
// (vemrafmt_skip) is kIgnored, without a report.
FileReport RunFileJob(const InputFile& input, const RunSettings& settings, ProjectSettings& project,
                      const ReviewRequest& review = {});

// The report of a failure of the file at path.
FileReport FailureReport(const std::string& path, const FailureText& failure);

}  // namespace vemra
