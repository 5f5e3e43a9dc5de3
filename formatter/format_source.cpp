#include "formatter/format_source.h"

#include <algorithm>

#include "formatter/finishing_pass.h"
#include "formatter/layout_pass.h"

namespace vemra {

void FormatSource(TStringList& lines, std::int32_t TabWidth, bool UseTabs,
                  bool CollapseBlankLines) {
  // With expanded TABs every TAB will cost TabWidth bytes: knowing that, the
  // layout pass stops as soon as the result cannot fit, not after building it.
  const std::int64_t bytes_per_tab = UseTabs ? 1 : std::max<std::int64_t>(TabWidth, 0);
  std::string Output = LayoutPass(lines.ReadText(), bytes_per_tab);
  FinishingPass(std::move(Output), lines, TabWidth, UseTabs, CollapseBlankLines);
}

}  // namespace vemra
