#include "cli/review_run.h"

#include <string_view>
#include <vector>

#include "base/expand_path.h"
#include "base/file_identity.h"
#include "base/read_whole_file.h"
#include "cli/driver.h"
#include "cli/run_progress.h"
#include "cli/unified_diff.h"

namespace vemra {

std::vector<std::string> LinesOf(const TStringList& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.LineCount()));
  for (std::int32_t i = 0; i < list.LineCount(); ++i) lines.emplace_back(list.LineView(i));
  return lines;
}

ReviewVerdict Review(const std::string& original, const std::vector<std::string>& loaded_lines,
                     const TStringList& formatted, const std::string& path, bool diff) {
  std::string holder;
  if (formatted.JoinedText(holder) == original) return {false, "Already formatted: " + path + "\n"};
  std::string text = "Would reformat: " + path + "\n";
  if (diff) {
    const std::string changes = UnifiedDiff(loaded_lines, LinesOf(formatted), path, path);
    text +=
        changes.empty() ? "Only line ends would change: every line would end in CR LF\n" : changes;
  }
  return {true, std::move(text)};
}

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

  const ReviewVerdict verdict = Review(original, loaded_lines, lines, shown_path, settings.Diff);
  console << verdict.text << std::flush;
  return verdict.would_change ? kExitWouldChange : kExitSuccess;
}

}  // namespace vemra
