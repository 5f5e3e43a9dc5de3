// The findings on unbalanced blocks and unended regions, with the lines of
// the input they name, whichever way the layout cuts and whether or not it
// gives the text's memory back as it goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/string_list.h"
#include "formatter/format_source.h"

namespace vemra {
namespace {

using Found = std::vector<std::pair<std::int32_t, std::string>>;

Found FindingsOf(const std::string& text, bool releasing) {
  TStringList lines;
  lines.AssignText(text);
  SourceDiagnostics diagnostics;
  if (releasing) {
    FormatSourceReleasingText(lines, 2, false, true, LineEnding::kLf, &diagnostics);
  } else {
    FormatSource(lines, 2, false, true, LineEnding::kLf, &diagnostics);
  }
  Found found;
  for (const SourceDiagnostic& d : diagnostics) {
    found.emplace_back(d.line,
                       (d.severity == DiagnosticSeverity::kWarning ? "W " : "I ") + d.message);
  }
  return found;
}

const std::string kNoOn =
    "I \"vemrafmt: off\" has no \"vemrafmt: on\" after it: the lines to the end are left as they "
    "stand";

TEST(BlockFacts, NameTheLinesOfUnbalancedBlocks) {
  // Lines of statements that open nothing, to put the findings far into a
  // text the layout gives back as it goes, and into one cut ahead.
  std::string filler;
  while (filler.size() < (std::size_t{3} << 20)) filler += "x = 1 // y\r\n";
  const std::int32_t filler_lines = static_cast<std::int32_t>(filler.size() / 12);
  std::string long_filler;
  while (long_filler.size() < (std::size_t{17} << 20)) long_filler += filler;
  const std::int32_t long_lines = static_cast<std::int32_t>(long_filler.size() / 12);
  const struct {
    std::string text;
    Found expected;
  } cases[] = {
      {"proc A()\n  x = 1\nend\n", {}},
      {"proc A()\nif x then\ny\nelse if z then\nw\nend\nend\n", {}},
      {"case x\n1: y\nend\n", {}},
      {"forward proc A()\nproc B()\n", {{2, "W \"proc\" opened on line 2 is never closed"}}},
      {"x\r\rproc A()\r\nwhile y\n",
       {{3, "W \"proc\" opened on line 3 is never closed"},
        {4, "W \"while\" opened on line 4 is never closed"}}},
      {"end\nproc A()\nend\nuntil\n",
       {{1, "W \"end\" closes no open block"}, {4, "W \"until\" closes no open block"}}},
      {"CASE x\n1: y\n", {{1, "W \"CASE\" opened on line 1 is never closed"}}},
      {"x\n// vemrafmt: off\ny\n", {{2, kNoOn}}},
      {"// vemrafmt: off\nproc A()\n// vemrafmt: on\nend\n", {}},
      // The layout follows the tokens of a region: its "end" closes.
      {"proc A()\n// vemrafmt: off\nend\nwhile\n",
       {{2, kNoOn}, {4, "W \"while\" opened on line 4 is never closed"}}},
      {"proc A()\n" + filler + "end\nend\nwhile x\n" + filler,
       {{filler_lines + 3, "W \"end\" closes no open block"},
        {filler_lines + 4,
         "W \"while\" opened on line " + std::to_string(filler_lines + 4) + " is never closed"}}},
      {"if x\n" + long_filler + "end\nend\n", {{long_lines + 3, "W \"end\" closes no open block"}}},
  };
  for (const auto& c : cases) {
    for (const bool releasing : {false, true}) {
      EXPECT_EQ(FindingsOf(c.text, releasing), c.expected) << c.text.substr(0, 60);
    }
  }
}

}  // namespace
}  // namespace vemra
