#include "formatter/finishing_pass.h"

#include <algorithm>

#include "formatter/text_size_limit.h"
#include "frontend/conversions.h"
#include "frontend/line_breaks.h"
#include "textutil/pad_left.h"
#include "textutil/replace_all.h"

namespace vemra {
namespace {}  // namespace

void ExpandTabs(std::string& text, std::int32_t TabWidth) {
  const std::int64_t width = std::max<std::int64_t>(TabWidth, 0);
  const std::int64_t tabs = std::count(text.begin(), text.end(), '\t');
  if (tabs == 0) return;
  CheckTextSize(static_cast<std::int64_t>(text.size()) + tabs * (width - 1));
  std::string blanks;
  PadLeft(blanks, ' ', TabWidth);
  ReplaceAll(text, "\t", blanks);
}

std::string TrimLines(std::string_view text, bool CollapseBlankLines) {
  std::string result;
  result.reserve(text.size());
  bool previous_was_empty = false;
  ForEachLine(text, [&](std::string_view line) {
    line = TrimmedTrailing(line);
    if (line.empty() && previous_was_empty && CollapseBlankLines) return;
    previous_was_empty = line.empty();
    result.append(line);
    result.push_back('\n');
  });
  return result;
}

void FinishingPass(std::string Output, TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                   bool CollapseBlankLines) {
  if (!UseTabs) ExpandTabs(Output, TabWidth);
  const std::string finished = TrimLines(Output, CollapseBlankLines);
  Output = std::string();  // release the laid-out text before the list copies the lines
  lines.AssignText(finished);
}

}  // namespace vemra
