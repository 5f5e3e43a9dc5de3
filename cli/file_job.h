// One input of a many-files run, from its name to the report that the run
// prints for it.
#pragma once

#include <mutex>
#include <string>

#include "cli/input_walk.h"
#include "cli/run_settings.h"

namespace vemra {

enum class FileOutcome {
  kReformatted,       // formatted and saved
  kUnchanged,         // already formatted: not written
  kWouldReformat,     // review: formatting would change it
  kAlreadyFormatted,  // review: formatting would not change it
  kFailed,            // not done, for the reason the report gives
};

struct FileReport {
  FileOutcome outcome;
  std::string text;  // what the run prints for the file, every line ended by LF
};

// Loads and formats the input and, unless the settings ask for a review,
// saves it over itself as a one-file run would, writing nothing when the
// file is formatted already. save_lock is held while the file is saved.
// Never throws: a failure is the report "PATH: EClass: message".
FileReport RunFileJob(const InputFile& input, const RunSettings& settings, std::mutex& save_lock);

}  // namespace vemra
