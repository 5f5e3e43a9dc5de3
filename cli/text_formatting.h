// A text formatted as a run on one input of a given name formats it: the
// options for that name, with the settings lookup, and the same formatting.
// The language server and -lines both go through here.
#pragma once

#include <string>
#include <string_view>

#include "cli/console.h"
#include "cli/file_options.h"
#include "cli/run_settings.h"
#include "formatter/source_diagnostics.h"

namespace vemra {

// The options a run uses for the input named path (empty: the command
// line's alone), its settings files' warnings sent to the console.
FileOptions OptionsFor(Console& console, const RunSettings& settings, const std::string& path);

struct FormattedText {
  std::string text;
  SourceDiagnostics diagnostics;
};

// The settings files' warnings go to the console's warnings; path may be
// empty (the command line's options alone). Throws as a run fails.
FormattedText FormatText(Console& console, const RunSettings& settings, const std::string& path,
                         std::string_view text);

}  // namespace vemra
