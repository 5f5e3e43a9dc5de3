// The stretches of changed lines between a text and its formatted form,
// through the line diff and through the linear walk that stands in for it
// on large gaps, and the lines a set of spans takes from them.
#include "textutil/line_changes.h"

#include <gtest/gtest.h>

namespace vemra {
namespace {

TEST(LineChanges, PairReindentedLinesAndSpanTheRest) {
  const struct {
    const char* name;
    std::string old_text;
    std::string new_text;
    std::vector<LineStretch> expected;
    std::vector<LineStretch> walked;  // where the walk pairs otherwise; empty: as expected
  } cases[] = {
      {"nothing changes", "a\nb\n", "a\nb\n", {}, {}},
      {"re-indented lines pair one to one",
       "p\nx\ny\nq\nend\n",
       "p\n  x\n  y\nq\nend\n",
       {{1, 3, 1, 3}},
       {}},
      {"a collapsed empty line is a stretch of its own",
       "a\n\n\nb\n  c\n",
       "a\n\nb\nc\n",
       {{2, 3, 2, 2}, {4, 5, 3, 4}},
       {}},
      {"a joined line replaces two",
       "a\nb\nc\nd\n",
       "a\nb c\nd\n",
       {{1, 3, 1, 2}},
       {{1, 2, 1, 2}, {2, 3, 2, 2}}},
      {"line ends alone change a line", "a\r\nb\nc", "a\r\nb\r\nc\r\n", {{1, 3, 1, 3}}, {}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string_view> old_lines = SplitKeepingLineEnds(c.old_text);
    const std::vector<std::string_view> new_lines = SplitKeepingLineEnds(c.new_text);
    // With no work allowed the gaps are walked instead of diffed: the
    // same stretches for edits this small.
    for (const std::size_t max_work : {std::size_t{2'000'000}, std::size_t{0}}) {
      const std::vector<LineStretch> stretches = ChangedStretches(old_lines, new_lines, max_work);
      EXPECT_EQ(stretches, max_work == 0 && !c.walked.empty() ? c.walked : c.expected)
          << c.name << " " << max_work;
      EXPECT_EQ(ApplyStretches(old_lines, new_lines, stretches), c.new_text) << c.name;
    }
  }
}

TEST(LineChanges, SpansTakePairedLinesAloneAndOtherStretchesWhole) {
  const std::vector<LineStretch> stretches = {{1, 4, 1, 4}, {6, 8, 6, 7}, {9, 9, 8, 9}};
  const struct {
    std::vector<LineSpan> spans;
    std::vector<LineStretch> expected;
  } cases[] = {
      {{{2, 3}}, {{2, 3, 2, 3}}},  {{{0, 2}, {3, 5}}, {{1, 2, 1, 2}, {3, 4, 3, 4}}},
      {{{7, 8}}, {{6, 8, 6, 7}}},  {{{5, 6}}, {}},
      {{{9, 10}}, {{9, 9, 8, 9}}}, {{{8, 9}}, {{9, 9, 8, 9}}},
  };
  for (const auto& c : cases) EXPECT_EQ(StretchesWithin(stretches, c.spans), c.expected);
}

}  // namespace
}  // namespace vemra
