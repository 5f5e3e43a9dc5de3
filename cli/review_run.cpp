#include "cli/review_run.h"

#include <string_view>
#include <vector>

#include "base/expand_path.h"
#include "base/file_identity.h"
#include "base/read_whole_file.h"
#include "base/string_list.h"
#include "cli/driver.h"
#include "cli/run_progress.h"
#include "cli/unified_diff.h"

namespace vemra {
namespace {

std::vector<std::string> LinesOf(const TStringList& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.LineCount()));
  for (std::int32_t i = 0; i < list.LineCount(); ++i) lines.emplace_back(list.LineView(i));
  return lines;
}

void PrintDiff(std::ostream& console, const std::vector<std::string>& loaded,
               const std::vector<std::string>& formatted, const std::string& path) {
  const std::string diff = UnifiedDiff(loaded, formatted, path, path);
  if (diff.empty()) {
    console << "Only line ends would change: every line would end in CR LF\n";
  } else {
    console << diff;
  }
}

}  // namespace

int ReviewFile(std::ostream& console, const RunSettings& settings) {
  const std::string shown_path = ExpandPath(settings.InputPath);
  TStringList lines;
  BeginStep(console, "Loading source file " + shown_path + "...");
  LoadedFile loaded;
  const std::string original = ReadWholeFile(settings.InputPath, loaded);
  lines.AssignText(original);
  EndStep(console);

  std::vector<std::string> loaded_lines;
  if (settings.Diff) loaded_lines = LinesOf(lines);
  FormatWithProgress(console, settings, lines);

  if (lines.ReadText() == original) {
    console << "Already formatted: " << shown_path << "\n" << std::flush;
    return kExitSuccess;
  }
  console << "Would reformat: " << shown_path << "\n";
  if (settings.Diff) PrintDiff(console, loaded_lines, LinesOf(lines), shown_path);
  console << std::flush;
  return kExitWouldChange;
}

}  // namespace vemra
