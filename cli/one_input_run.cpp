#include "cli/one_file_run.h"

#include "base/expand_path.h"
#include "base/string_list.h"
#include "cli/run_progress.h"

namespace vemra {

void FormatOneFile(std::ostream& console, const RunSettings& settings) {
  const std::string& output =
      settings.OutputPath.empty() ? settings.InputPath : settings.OutputPath;
  // The list lives only for this call.
  TStringList lines;
  BeginStep(console, "Loading source file " + ExpandPath(settings.InputPath) + "...");
  lines.LoadFile(settings.InputPath);
  EndStep(console);
  FormatWithProgress(console, settings, lines);
  BeginStep(console, "Saving output file to " + ExpandPath(output) + "...");
  lines.SaveFile(output);
  EndStep(console);
}

}  // namespace vemra
