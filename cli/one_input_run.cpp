#include "cli/one_input_run.h"

#include "base/expand_path.h"
#include "base/safe_file_write.h"
#include "cli/driver.h"
#include "cli/input_text.h"
#include "cli/line_selection.h"
#include "cli/run_progress.h"
#include "cli/source_warnings.h"
#include "cli/text_formatting.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

InputText Load(std::ostream& progress, const RunSettings& settings, int input_fd) {
  const bool keep = settings.Review() || !settings.Lines.empty();
  const std::string name = settings.Stdin ? settings.InputName() : ExpandPath(settings.InputPath);
  BeginStep(progress, "Loading source file " + QuoteName(name) + "...");
  InputText input = settings.Stdin ? LoadStandardInput(input_fd, name, keep)
                                   : LoadFileInput(settings.InputPath, name, keep);
  EndStep(progress);
  return input;
}

// Standard output gets the result only once it is complete, and all of it
// or a failure.
void WriteResult(std::ostream& out, std::string_view result) {
  out.write(result.data(), static_cast<std::streamsize>(result.size()));
  out.flush();
  if (!out) throw StandardOutputFailure(out);
}

void Save(std::ostream& progress, const RunSettings& settings, const InputText& input,
          std::string_view result) {
  const std::string& output =
      settings.OutputPath.empty() ? settings.InputPath : settings.OutputPath;
  BeginStep(progress, "Saving output file to " + QuoteName(ExpandPath(output)) + "...");
  WriteFileSafely(output, result, input.file ? &*input.file : nullptr);
  EndStep(progress);
}

}  // namespace

int RunOneInput(Console& console, const RunSettings& settings, int input_fd) {
  InputText input = Load(console.Progress(), settings, input_fd);
  // A text from standard input has the settings of the file it is named
  // for, if any.
  const FileOptions options =
      OptionsFor(console, settings, settings.Stdin ? settings.FileName : settings.InputPath);
  SourceDiagnostics diagnostics;
  FormatWithProgress(console.Progress(), settings, options, input.lines, input.name, &diagnostics);
  const bool warnings_fail = ReportSourceWarnings(console, settings, input.name, diagnostics);
  if (settings.Review()) {
    const ReviewRequest request{settings.Diff, settings.List, console.ColoursReports(),
                                console.ColoursData()};
    const ReviewVerdict verdict =
        ReviewInput(input, settings.Stdin ? settings.InputName() : settings.InputPath, request);
    console.Reports() << verdict.text << std::flush;
    console.Data() << verdict.data << std::flush;
    if (warnings_fail) return kExitFailure;
    return verdict.would_change ? kExitWouldChange : kExitSuccess;
  }
  std::string holder;
  std::string_view result = input.lines.JoinedText(holder);
  // With -lines, the lines outside them keep their bytes.
  std::string selected;
  if (!settings.Lines.empty()) {
    selected = OnlyTheseLines(input.original, result, settings.Lines);
    result = selected;
  }
  if (settings.WritesStandardOutput()) {
    WriteResult(console.Out(), result);
  } else {
    Save(console.Progress(), settings, input, result);
  }
  return warnings_fail ? kExitFailure : kExitSuccess;
}

}  // namespace vemra
