#include "cli/file_options.h"

#include "base/conversions.h"
#include "textutil/bool_to_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

std::string Origin(const std::string& settings_file) {
  return settings_file.empty() ? std::string() : " from " + QuoteName(settings_file);
}

std::string LineEndsText(LineEndChoice choice) {
  return choice == LineEndChoice::kLf ? "LF" : choice == LineEndChoice::kKeep ? "keep" : "CRLF";
}

}  // namespace

FileOptions CommandLineOptions(const RunSettings& settings) {
  FileOptions options;
  options.UseTabs = settings.UseTabs;
  options.TabWidth = settings.TabWidth;
  options.KeepExtraLines = settings.KeepExtraLines;
  options.LineEnds = settings.LineEnds;
  return options;
}

LineEnding ChosenLineEnding(LineEndChoice choice, const TStringList& lines) {
  switch (choice) {
    case LineEndChoice::kLf:
      return LineEnding::kLf;
    case LineEndChoice::kKeep:
      return lines.FirstLineEnding();
    case LineEndChoice::kCrLf:
      break;
  }
  return LineEnding::kCrLf;
}

std::string OptionsLine(const FileOptions& options, const RunSettings& settings) {
  std::string line = "Formatting options (tabwidth=" + IntegerToText(options.TabWidth) +
                     Origin(options.TabWidthFrom) + ", tabs=" + BoolToText(options.UseTabs) +
                     Origin(options.UseTabsFrom) +
                     ", extralines=" + BoolToText(options.KeepExtraLines) +
                     Origin(options.KeepExtraLinesFrom);
  // A CR LF chosen by a settings file is shown, as a value a user may not
  // expect; the default is not.
  if (options.LineEnds != LineEndChoice::kCrLf || !options.LineEndsFrom.empty()) {
    line += ", lineends=" + LineEndsText(options.LineEnds) + Origin(options.LineEndsFrom);
  }
  if (settings.Check) line += ", check=" + BoolToText(true);
  if (settings.Diff) line += ", diff=" + BoolToText(true);
  return line + ")";
}

}  // namespace vemra
