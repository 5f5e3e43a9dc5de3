#include "cli/line_selection.h"

#include "base/failures.h"
#include "textutil/line_changes.h"

namespace vemra {

void CheckLineSelection(const RunSettings& settings) {
  if (settings.Lines.empty()) return;
  if (settings.ManyFiles() || settings.Review() || settings.Lsp) {
    throw EArgumentError(
        "-lines applies to one input, formatted and written; it cannot be "
        "combined with many files, -check, -diff, -list or -lsp");
  }
}

std::string OnlyTheseLines(std::string_view original, std::string_view formatted,
                           const std::vector<LineRange>& ranges) {
  std::vector<LineSpan> spans;
  for (const LineRange& range : ranges) {
    spans.push_back(
        {static_cast<std::size_t>(range.first) - 1, static_cast<std::size_t>(range.last)});
  }
  const std::vector<std::string_view> old_lines = SplitKeepingLineEnds(original);
  const std::vector<std::string_view> new_lines = SplitKeepingLineEnds(formatted);
  return ApplyStretches(old_lines, new_lines,
                        StretchesWithin(ChangedStretches(old_lines, new_lines), spans));
}

}  // namespace vemra
