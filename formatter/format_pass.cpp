#include "formatter/format_pass.h"

#include <algorithm>
#include <cstdint>

#include "formatter/layout_pass.h"
#include "formatter/region_finishing.h"

namespace vemra {

namespace {

// What of text the layout may give back: the bytes of spare it is a view
// of, when the caller lets them go.
SourceRelease ReleaseOf(std::string_view text, std::string& spare, LaidOutBytes laid_out_bytes) {
  const auto begin = reinterpret_cast<std::uintptr_t>(spare.data());
  const auto at = reinterpret_cast<std::uintptr_t>(text.data());
  const bool in_spare = at >= begin && at + text.size() <= begin + spare.size();
  if (laid_out_bytes != LaidOutBytes::kReleased || !in_spare || text.empty()) return {};
  return SourceRelease(spare.data(), spare.size());
}

}  // namespace

FormatPassResult FormatPass(std::string_view text, const FormatOptions& options,
                            std::string&& spare, LaidOutBytes laid_out_bytes, BlockFacts* blocks) {
  // Indentation is written in its final form at once, so the expansion is
  // left with the TABs inside comments and literals (and, in a text past
  // 512 MB, with the indentation of the lines beyond).
  const IndentUnit unit = options.UseTabs
                              ? IndentUnit{'\t', 1}
                              : IndentUnit{' ', std::max<std::int64_t>(options.TabWidth, 0)};
  // The finishing pass trims every line, so the layout need not keep the
  // blanks it leaves at the ends of its own lines, nor, where it collapses
  // runs of empty lines, the empty lines it would drop.
  const TrailingBytes trailing =
      options.CollapseBlankLines ? TrailingBytes::kTrimmedAndCollapsed : TrailingBytes::kTrimmed;
  LaidOutText laid_out = LayOutLines(text, unit, trailing, Cutting::kBySize,
                                     ReleaseOf(text, spare, laid_out_bytes), blocks);
  // With empty lines kept, the blanks the layout leaves behind the last
  // line break would make one more empty last line, and the next run,
  // laying out that line's break as well, another, on every run. They go,
  // unless the layout noted that the next pass may differ: the level or
  // the open token they stand for may then be gone, and the next pass,
  // which notes nothing, sees the line they make as one of the text's own
  // and drops its own blanks should they come back. (Collapsing empty lines
  // keeps that one line, and the next run adds no other.)
  if (!options.CollapseBlankLines && !laid_out.next_pass_may_differ) {
    DropBlanksBehindLastLineBreak(laid_out.text);
  }
  // The regions' lines are views into the text, which must stay as it is.
  if (!laid_out.regions.empty()) {
    return {FinishLinesAroundRegions(laid_out.text, laid_out.regions, options),
            laid_out.next_pass_may_differ};
  }
  // The text is not needed past the layout: the finished text takes spare's
  // memory should it outgrow the laid-out text's own. Not when a pass is to
  // follow, whose caller may still need spare's bytes.
  std::string no_spare;
  std::string& memory = laid_out.next_pass_may_differ ? no_spare : spare;
  return {FinishLines(std::move(laid_out.text), options, std::move(memory)),
          laid_out.next_pass_may_differ};
}

}  // namespace vemra
