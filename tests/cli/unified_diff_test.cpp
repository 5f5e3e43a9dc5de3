// The hunks of UnifiedDiff, compared with what diff -u prints for the same
// two texts: context of three lines, hunks joined across at most six kept
// lines, one-line and empty ranges in the headers.
#include "cli/unified_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::TestFolder;
using testing::WriteBytes;

using Lines = std::vector<std::string>;

std::string WithLf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string DiffDashU(const Lines& old_lines, const Lines& new_lines) {
  TestFolder folder;
  WriteBytes(folder / "old", WithLf(old_lines));
  WriteBytes(folder / "new", WithLf(new_lines));
  const std::string command =
      "diff -u --label F --label F " + (folder / "old") + " " + (folder / "new");
  return testing::RunShellCommand(command).console;
}

Lines Numbered(int count) {
  Lines lines;
  for (int i = 1; i <= count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

Lines Replaced(Lines lines, std::initializer_list<int> indexes) {
  for (int index : indexes) lines[static_cast<std::size_t>(index)] += " changed";
  return lines;
}

TEST(UnifiedDiff, HunksAsDiffDashUPrintsThem) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: diff -u through the shell";
  const Lines twenty = Numbered(20);
  Lines inserted = twenty;
  inserted.insert(inserted.begin() + 10, {"new a", "new b"});
  Lines removed = twenty;
  removed.erase(removed.begin() + 5, removed.begin() + 8);
  const std::pair<Lines, Lines> cases[] = {
      {{}, {"a", "b"}},
      {{"a", "b"}, {}},
      {{"a"}, {"b"}},
      {twenty, Replaced(twenty, {0})},
      {twenty, Replaced(twenty, {19})},
      {twenty, Replaced(twenty, {3, 10})},  // six kept lines between: one hunk
      {twenty, Replaced(twenty, {3, 11})},  // seven kept lines between: two hunks
      {twenty, inserted},
      {twenty, removed},
      {{"a", "", "b"}, {"a", "b", ""}},
  };
  for (const auto& [old_lines, new_lines] : cases) {
    EXPECT_EQ(UnifiedDiff(old_lines, new_lines, "F", "F"), DiffDashU(old_lines, new_lines))
        << WithLf(old_lines) << "=>\n"
        << WithLf(new_lines);
  }
}

TEST(UnifiedDiff, EqualListsGiveNothing) {
  EXPECT_EQ(UnifiedDiff({}, {}, "F", "F"), "");
  EXPECT_EQ(UnifiedDiff({"a", "b"}, {"a", "b"}, "F", "F"), "");
}

}  // namespace
}  // namespace vemra
