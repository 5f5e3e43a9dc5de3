#include "cli/run_progress.h"

#include "base/conversions.h"
#include "base/failures.h"
#include "cli/console.h"
#include "formatter/format_source.h"
#include "textutil/bool_to_text.h"

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

void PrintOptions(std::ostream& console, const RunSettings& settings) {
  console << "Formatting options (tabwidth=" << IntegerToText(settings.TabWidth)
          << ", tabs=" << BoolToText(settings.UseTabs)
          << ", extralines=" << BoolToText(settings.KeepExtraLines);
  if (settings.Check) console << ", check=" << BoolToText(true);
  if (settings.Diff) console << ", diff=" << BoolToText(true);
  console << ")\n";
}

void FormatLines(const RunSettings& settings, TStringList& lines, const std::string& shown_path) {
  try {
    FormatSource(lines, settings.TabWidth, settings.UseTabs, !settings.KeepExtraLines);
  } catch (const EFormatNotSettled& failure) {
    // The formatter knows the text, not the file it came from.
    throw EFormatNotSettled("Cannot format file \"" + shown_path + "\". " + failure.Message());
  }
}

void FormatWithProgress(std::ostream& console, const RunSettings& settings, TStringList& lines,
                        const std::string& shown_path) {
  PrintOptions(console, settings);
  BeginStep(console, "Parsing...");
  FormatLines(settings, lines, shown_path);
  EndStep(console);
}

}  // namespace vemra
