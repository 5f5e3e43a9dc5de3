// The options one input is formatted with: the command line's, over the
// defaults a project's settings files give for that input.
#pragma once

#include <cstdint>
#include <string>

#include "base/line_ending.h"
#include "base/string_list.h"
#include "cli/run_settings.h"

namespace vemra {

struct FileOptions {
  bool UseTabs = false;
  std::int32_t TabWidth = 2;
  bool KeepExtraLines = false;
  LineEndChoice LineEnds = LineEndChoice::kCrLf;
  // The settings file each value was taken from; empty: the command line
  // or the default gave it.
  std::string UseTabsFrom;
  std::string TabWidthFrom;
  std::string KeepExtraLinesFrom;
  std::string LineEndsFrom;

  bool operator==(const FileOptions&) const = default;
};

// The options as the command line alone sets them.
FileOptions CommandLineOptions(const RunSettings& settings);

// The line end the result of lines, as loaded, is written with.
LineEnding ChosenLineEnding(LineEndChoice choice, const TStringList& lines);

// "Formatting options (tabwidth=2, tabs=False, extralines=False)", with
// " from PATH" after a value a settings file gave, ", lineends=LF" or
// ", lineends=keep" when the lines do not end in CR LF, and ", check=True"
// and ", diff=True" only when those options are on; no line end.
std::string OptionsLine(const FileOptions& options, const RunSettings& settings);

}  // namespace vemra
