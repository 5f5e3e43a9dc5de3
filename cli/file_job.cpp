#include "cli/file_job.h"

#include <exception>
#include <utility>
#include <vector>

#include "base/file_identity.h"
#include "base/read_whole_file.h"
#include "base/safe_file_write.h"
#include "base/string_list.h"
#include "cli/review_run.h"
#include "cli/run_progress.h"

namespace vemra {

namespace {

FileReport FailureReport(const std::string& path, const FailureText& failure) {
  return {FileOutcome::kFailed, path + ": " + failure.Line() + "\n"};
}

FileReport ReviewInput(const std::string& path, const RunSettings& settings) {
  LoadedFile loaded_file;
  const std::string original = ReadWholeFile(path, loaded_file);
  TStringList lines;
  lines.AssignText(original);
  std::vector<std::string> loaded;
  if (settings.Diff) loaded = LinesOf(lines);
  FormatLines(settings, lines);
  ReviewVerdict verdict = Review(original, loaded, lines, path, settings.Diff);
  return {verdict.would_change ? FileOutcome::kWouldReformat : FileOutcome::kAlreadyFormatted,
          std::move(verdict.text)};
}

// The bytes saved, and the safe save itself, are those of a one-file run;
// the text as loaded is kept to tell whether there is anything to save.
FileReport FormatInput(const std::string& path, const RunSettings& settings,
                       std::mutex& save_lock) {
  LoadedFile loaded;
  const std::string original = ReadWholeFile(path, loaded);
  TStringList lines;
  lines.AssignText(original);
  FormatLines(settings, lines);
  std::string holder;
  const std::string_view formatted = lines.JoinedText(holder);
  if (formatted == original) return {FileOutcome::kUnchanged, "Unchanged: " + path + "\n"};
  {
    const std::lock_guard lock(save_lock);
    WriteFileSafely(path, formatted, &loaded);
  }
  return {FileOutcome::kReformatted, "Formatted: " + path + "\n"};
}

}  // namespace

FileReport RunFileJob(const InputFile& input, const RunSettings& settings, std::mutex& save_lock) {
  if (input.failure) return FailureReport(input.path, *input.failure);
  try {
    return settings.Review() ? ReviewInput(input.path, settings)
                             : FormatInput(input.path, settings, save_lock);
  } catch (...) {
    return FailureReport(input.path, FailureOf(std::current_exception()));
  }
}

}  // namespace vemra
