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
  std::string joined;
  std::string Output = LayoutPass(lines.JoinedText(joined), unit);
  // The source copy is not needed past the layout; its memory is reused.
  FinishingPass(std::move(Output), lines, TabWidth, UseTabs, CollapseBlankLines, std::move(joined));
}

}  // namespace vemra
