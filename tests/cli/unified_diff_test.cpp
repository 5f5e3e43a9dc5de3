// The hunks of UnifiedDiff, compared with what diff -u prints for the same
// two texts: context of three lines, hunks joined across at most six kept
// lines, one-line and empty ranges in the headers, lines that keep their CR
// bytes, and a last line without a line end.
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

std::string DiffDashU(const std::string& old_text, const std::string& new_text) {
  TestFolder folder;
  WriteBytes(folder / "old", old_text);
  WriteBytes(folder / "new", new_text);
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
  const std::pair<std::string, std::string> cases[] = {
      {"", WithLf({"a", "b"})},
      {WithLf({"a", "b"}), ""},
      {WithLf({"a"}), WithLf({"b"})},
      {WithLf(twenty), WithLf(Replaced(twenty, {0}))},
      {WithLf(twenty), WithLf(Replaced(twenty, {19}))},
      {WithLf(twenty), WithLf(Replaced(twenty, {3, 10}))},  // six kept lines between: one hunk
      {WithLf(twenty), WithLf(Replaced(twenty, {3, 11}))},  // seven kept lines between: two
      {WithLf(twenty), WithLf(inserted)},
      {WithLf(twenty), WithLf(removed)},
      {WithLf({"a", "", "b"}), WithLf({"a", "b", ""})},
      // Line ends are bytes of their lines: a change of line end alone is
      // a change of the line, and a last line without one is told.
      {"a\r\nb\r\nc\r\n", "a\r\nb\nc\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\nb", "a\nb\n"},
      {"a\nb\n", "a\nb"},
      {"a\nb", "a\nc"},
      {"x\ny", "x\ny\r"},
      {"a\rb\r", "a\r\nb\r\n"},  // CR alone ends no line
  };
  for (const auto& [old_text, new_text] : cases) {
    EXPECT_EQ(UnifiedDiff(old_text, new_text, "F", "F"), DiffDashU(old_text, new_text))
        << old_text << "=>\n"
        << new_text;
  }
}

// What a user sees, byte for byte: the CR of every line kept, the headers
// git apply and patch -p1 take.
TEST(UnifiedDiff, PatchOfACrLfFile) {
  EXPECT_EQ(UnifiedDiff("proc A()\r\nx=1\r\nend", "proc A()\r\n  x = 1\r\nend\r\n", "a/s/p.vem",
                        "b/s/p.vem"),
            "--- a/s/p.vem\n"
            "+++ b/s/p.vem\n"
            "@@ -1,3 +1,3 @@\n"
            " proc A()\r\n"
            "-x=1\r\n"
            "-end\n"
            "\\ No newline at end of file\n"
            "+  x = 1\r\n"
            "+end\r\n");
  EXPECT_EQ(UnifiedDiff("a\n", "b\n", "a/x y.vem", "b/x y.vem", DiffColours::kTerminal),
            "\x1b[1m--- a/x y.vem\t\x1b[m\n"
            "\x1b[1m+++ b/x y.vem\t\x1b[m\n"
            "\x1b[36m@@ -1 +1 @@\x1b[m\n"
            "\x1b[31m-a\x1b[m\n"
            "\x1b[32m+b\x1b[m\n");
}

TEST(UnifiedDiff, EqualTextsGiveNothing) {
  EXPECT_EQ(UnifiedDiff("", "", "F", "F"), "");
  EXPECT_EQ(UnifiedDiff("a\r\nb", "a\r\nb", "F", "F"), "");
}

}  // namespace
}  // namespace vemra
