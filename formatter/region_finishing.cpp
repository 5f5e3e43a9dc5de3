#include "formatter/region_finishing.h"

#include <algorithm>
#include <string>

#include "base/line_breaks.h"
#include "formatter/text_size_limit.h"

namespace vemra {
namespace {

// Builds the finished text piece by piece: the laid-out lines between the
// regions, and the regions' own lines.
class RegionTextWriter {
 public:
  RegionTextWriter(const FormatOptions& options, LineEnding ending)
      : options_(options), ending_(ending), line_end_(LineEndBytes(ending)) {}

  // Finishes laid-out lines: TABs expanded unless kept, lines trimmed, runs
  // of empty lines collapsed as the options say.
  void AppendLaidOutLines(std::string_view lines) {
    std::string expanded(lines);
    if (!options_.UseTabs) ExpandTabs(expanded, options_.TabWidth);
    AppendTrimmedLines(text_, expanded, options_.CollapseBlankLines, line_end_,
                       previous_was_empty_);
    CheckTextSize(static_cast<std::int64_t>(text_.size()));
  }

  // A region's lines as they stood, each with the line end.
  void AppendRegionLines(std::string_view lines) {
    ForEachLine(lines, [this](std::string_view line) {
      CheckTextSize(static_cast<std::int64_t>(text_.size() + line.size() + line_end_.size()));
      text_.append(line).append(line_end_);
    });
    previous_was_empty_ = false;
  }

  FinishedLines Take() { return {std::move(text_), ending_}; }

 private:
  const FormatOptions& options_;
  LineEnding ending_;
  std::string_view line_end_;
  std::string text_;
  bool previous_was_empty_ = false;  // the last line written is an empty laid-out line
};

}  // namespace

FinishedLines FinishLinesAroundRegions(std::string_view laid_out,
                                       const std::vector<VerbatimRegion>& regions,
                                       const FormatOptions& options) {
  // As FinishLines does, a text whose CR LF form could pass the size limit
  // is kept with LF line ends. The laid-out text, TABs expanded, and the
  // regions' lines besides bound the finished text's size.
  std::int64_t size = static_cast<std::int64_t>(laid_out.size());
  if (!options.UseTabs) {
    size += static_cast<std::int64_t>(std::count(laid_out.begin(), laid_out.end(), '\t')) *
            (std::max<std::int64_t>(options.TabWidth, 0) - 1);
  }
  for (const VerbatimRegion& region : regions)
    size += static_cast<std::int64_t>(region.source.size());
  RegionTextWriter writer(options, size > kCrLfSafeSize ? LineEnding::kLf : options.line_ending);
  std::size_t at = 0;
  for (const VerbatimRegion& region : regions) {
    writer.AppendLaidOutLines(laid_out.substr(at, region.output_begin - at));
    writer.AppendRegionLines(region.source);
    at = std::min(region.output_end, laid_out.size());
  }
  writer.AppendLaidOutLines(laid_out.substr(at));
  return writer.Take();
}

}  // namespace vemra
