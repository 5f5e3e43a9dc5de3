#include "formatter/format_pass.h"

#include <algorithm>

#include "formatter/layout_pass.h"

namespace vemra {

FormatPassResult FormatPass(std::string_view text, const FormatOptions& options,
                            std::string&& spare) {
  // Indentation is written in its final form at once, so the expansion is
  // left with the TABs inside comments and literals (and, in a text past
  // 512 MB, with the indentation of the lines beyond).
  const IndentUnit unit = options.UseTabs
                              ? IndentUnit{'\t', 1}
                              : IndentUnit{' ', std::max<std::int64_t>(options.TabWidth, 0)};
  // The finishing pass trims every line, so the layout need not keep the
  // blanks it leaves at the ends of its own lines.
  LaidOutText laid_out = LayOutLines(text, unit, TrailingBytes::kTrimmed);
  // The text is not needed past the layout: the finished text takes spare's
  // memory should it outgrow the laid-out text's own. Not when a pass is to
  // follow, whose caller may still need spare's bytes.
  std::string no_spare;
  std::string& memory = laid_out.next_pass_may_differ ? no_spare : spare;
  return {FinishLines(std::move(laid_out.text), options.TabWidth, options.UseTabs,
                      options.CollapseBlankLines, std::move(memory)),
          laid_out.next_pass_may_differ};
}

}  // namespace vemra
