#include "cli/review_verdict.h"

#include "cli/unified_diff.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

std::string LineEndName(LineEnding ending) {
  return ending == LineEnding::kLf ? "LF" : "CR LF";
}

}  // namespace

std::vector<std::string> LinesOf(const TStringList& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.LineCount()));
  for (std::int32_t i = 0; i < list.LineCount(); ++i) lines.emplace_back(list.LineView(i));
  return lines;
}

ReviewVerdict Review(const std::string& original, const std::vector<std::string>& loaded_lines,
                     const TStringList& formatted, const std::string& path, bool diff) {
  std::string holder;
  if (formatted.JoinedText(holder) == original)
    return {false, "Already formatted: " + QuoteName(path) + "\n"};
  std::string text = "Would reformat: " + QuoteName(path) + "\n";
  if (diff) {
    const std::string changes = UnifiedDiff(loaded_lines, LinesOf(formatted), path, path);
    text += changes.empty() ? "Only line ends would change: every line would end in " +
                                  LineEndName(formatted.GetLineEnding()) + "\n"
                            : changes;
  }
  return {true, std::move(text)};
}

}  // namespace vemra
