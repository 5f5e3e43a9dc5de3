#include "cli/run_progress.h"

#include "base/failures.h"
#include "cli/console.h"
#include "formatter/format_source.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// A console that can no longer be written to ends the run before its next
// step, rather than let it go on unseen.
void FlushStep(std::ostream& console) {
  console.flush();
  if (!console) throw StandardOutputFailure(console);
}

}  // namespace

void BeginStep(std::ostream& console, const std::string& text) {
  console << text;
  FlushStep(console);
}

void EndStep(std::ostream& console) {
  console << "done!\n";
  FlushStep(console);
}

void FormatLines(const FileOptions& options, TStringList& lines, const std::string& shown_path,
                 SourceDiagnostics* diagnostics) {
  try {
    // A run that fails to format a text reports it and drops it, so the
    // memory under the text may go as the layout passes it.
    FormatSourceReleasingText(lines, options.TabWidth, options.UseTabs, !options.KeepExtraLines,
                              ChosenLineEnding(options.LineEnds, lines), diagnostics);
  } catch (const EFormatNotSettled& failure) {
    // The formatter knows the text, not the file it came from.
    throw EFormatNotSettled("Cannot format file \"" + EscapedName(shown_path) + "\". " +
                            failure.Message());
  }
}

void FormatWithProgress(std::ostream& console, const RunSettings& settings,
                        const FileOptions& options, TStringList& lines,
                        const std::string& shown_path, SourceDiagnostics* diagnostics) {
  console << OptionsLine(options, settings) << "\n";
  BeginStep(console, "Parsing...");
  FormatLines(options, lines, shown_path, diagnostics);
  EndStep(console);
}

}  // namespace vemra
