#include "cli/run_progress.h"

#include "base/conversions.h"
#include "base/expand_path.h"
#include "base/failures.h"
#include "formatter/format_source.h"
#include "textutil/bool_to_text.h"

namespace vemra {

void BeginStep(std::ostream& console, const std::string& text) {
  console << text << std::flush;
}

void EndStep(std::ostream& console) {
  console << "done!\n" << std::flush;
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

void FormatWithProgress(std::ostream& console, const RunSettings& settings, TStringList& lines) {
  PrintOptions(console, settings);
  BeginStep(console, "Parsing...");
  FormatLines(settings, lines, ExpandPath(settings.InputPath));
  EndStep(console);
}

}  // namespace vemra
