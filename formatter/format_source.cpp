#include "formatter/format_source.h"

#include <algorithm>

#include "formatter/finishing_pass.h"
#include "formatter/layout_pass.h"

namespace vemra {

void FormatSource(TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                  bool CollapseBlankLines) {
  // Indentation is written in its final form at once, so the expansion is
  // left with the TABs inside comments and literals (and, in a text past
  // 512 MB, with the indentation of the lines beyond).
  const IndentUnit unit =
      UseTabs ? IndentUnit{'\t', 1} : IndentUnit{' ', std::max<std::int64_t>(TabWidth, 0)};
  // The list hands over its text as it was loaded, so the source is not
  // copied, nor its line ends rewritten; a failure gives it back, and the
  // list is as it was.
  std::string source = lines.HandOverText();
  try {
    // The finishing pass trims every line, so the layout need not keep the
    // blanks it leaves at the ends of its own lines.
    std::string Output = LayOutLines(source, unit, TrailingBytes::kTrimmed);
    // The source is not needed past the layout: the finished text takes its
    // memory should it outgrow the laid-out text's own.
    FinishingPass(std::move(Output), lines, TabWidth, UseTabs, CollapseBlankLines,
                  std::move(source));
  } catch (...) {
    // Every check comes before the source's memory is taken over.
    lines.AdoptText(std::move(source));
    throw;
  }
}

}  // namespace vemra
