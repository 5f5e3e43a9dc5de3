#include "cli/file_job.h"

#include <exception>
#include <utility>
#include <vector>

#include "base/pending_save.h"
#include "base/string_list.h"
#include "cli/input_text.h"
#include "cli/project_settings.h"
#include "cli/run_progress.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

FileReport ReviewFile(const std::string& path, const ReviewRequest& review,
                      const FileOptions& options) {
  InputText input = LoadFileInput(path, path, true);
  FormatLines(options, input.lines, path);
  ReviewVerdict verdict = ReviewInput(input, path, review);
  FileReport report{
      verdict.would_change ? FileOutcome::kWouldReformat : FileOutcome::kAlreadyFormatted,
      std::move(verdict.text), nullptr};
  report.data = std::move(verdict.data);
  return report;
}

// The list's text as a save writes it (JoinedText), taken out of the list
// without a copy where the list holds it as it is.
std::string TakeJoinedText(TStringList& lines) {
  std::string holder;
  const std::string_view joined = lines.JoinedText(holder);
  if (joined.data() == holder.data()) return holder;
  return lines.HandOverText();  // the list's own text, which is the joined text
}

// The bytes saved, and the stages of the save, are those of a one-file run;
// the text as loaded is kept to tell whether there is anything to save.
FileReport FormatFile(const std::string& path, const FileOptions& options) {
  InputText input = LoadFileInput(path, path, true);
  FormatLines(options, input.lines, path);
  std::string formatted = TakeJoinedText(input.lines);
  if (formatted == input.original) {
    return {FileOutcome::kUnchanged, "Unchanged: " + QuoteName(path) + "\n", nullptr};
  }
  input.original = std::string();  // not needed any more
  auto staged = std::make_unique<StagedSave>(path, std::move(formatted));
  staged->save = std::make_unique<PendingSave>(path, staged->bytes, &*input.file);
  return {FileOutcome::kReformatted, "Formatted: " + QuoteName(path) + "\n", std::move(staged)};
}

}  // namespace

StagedSave::StagedSave(std::string path, std::string bytes)
    : path(std::move(path)), bytes(std::move(bytes)) {}

StagedSave::~StagedSave() = default;

FileReport FailureReport(const std::string& path, const FailureText& failure) {
  return {FileOutcome::kFailed, QuoteName(path) + ": " + failure.Line() + "\n", nullptr};
}

FileReport RunFileJob(const InputFile& input, const RunSettings& settings, ProjectSettings& project,
                      const ReviewRequest& review) {
  if (input.failure) return FailureReport(input.path, *input.failure);
  if (input.skipped_link) {
    return {FileOutcome::kSkipped, "Skipped link: " + QuoteName(input.path) + "\n", nullptr};
  }
  try {
    InputOptions taken = project.For(input.path);
    if (taken.skip && input.walked) return {FileOutcome::kIgnored, {}, nullptr};
    FileReport report = settings.Review() ? ReviewFile(input.path, review, taken.options)
                                          : FormatFile(input.path, taken.options);
    report.options_line = OptionsLine(taken.options, settings);
    report.warnings = std::move(taken.warnings);
    return report;
  } catch (...) {
    return FailureReport(input.path, FailureOf(std::current_exception()));
  }
}

}  // namespace vemra
