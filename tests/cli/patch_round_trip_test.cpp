// The patch -diff prints, applied by the tools that apply patches, makes of a
// tree exactly the bytes a formatting run saves: over generated programs of
// every kind, with CR LF, LF and CR line ends, without a last line end, with
// regions, under every line end choice and with kept empty lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/program_kinds.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RunShellCommand;
using testing::TestFolder;
using testing::WriteBytes;

using Tree = std::map<std::string, std::string>;  // path from the tree's top => bytes

// text with every line end, CR LF, LF or a lone CR, made line_end.
std::string WithLineEnds(const std::string& text, const std::string& line_end) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += line_end;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string WithoutLastLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Generated programs of the three kinds, each with its line ends as
// generated (mixed), CR LF, LF or CR alone, some without a last line end;
// a region, and a file formatted already, in folders and under a name
// with a blank.
Tree MakeTree() {
  Tree tree;
  const std::string line_ends[] = {"", "\r\n", "\n", "\r"};
  for (std::uint64_t seed = 0; seed < 12; ++seed) {
    std::string program = GenerateProgramOfKind(seed);
    if (!line_ends[seed % 4].empty()) program = WithLineEnds(program, line_ends[seed % 4]);
    if (seed % 5 == 0) program = WithoutLastLineEnd(program);
    const std::string folder = seed < 6 ? "src/" : "src/lib/deep/";
    tree[folder + "p" + std::to_string(seed) + ".vem"] = program;
  }
  tree["src/with region.vem"] =
      "proc A()\nx=1\n// vemrafmt: off\n  a  =  1   \n\n\n\tb=2\n// vemrafmt: on\ny=2\nend";
  tree["done.vem"] = "proc A()\r\n  x = 1\r\nend\r\n";
  return tree;
}

void WriteTree(const std::string& top, const Tree& tree) {
  for (const auto& [path, bytes] : tree) {
    fs::create_directories(fs::path(top + "/" + path).parent_path());
    WriteBytes(top + "/" + path, bytes);
  }
}

Tree ReadTree(const std::string& top) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(top)) {
    if (!entry.is_regular_file()) continue;
    tree[fs::relative(entry.path(), top).generic_string()] = ReadBytes(entry.path().string());
  }
  return tree;
}

// Runs the program in folder with arguments (a shell's words).
testing::RunResult RunIn(const std::string& folder, const std::string& arguments) {
  return RunShellCommand("cd '" + folder + "' && " + VEMRA_BINARY + " " + arguments +
                         " 2> /dev/null");
}

struct Copies {
  TestFolder root;
  std::string saved = root / "saved";  // formatted by the program
  std::string by_git = root / "git";   // patched by git apply
  std::string by_patch = root / "patch";
};

// Applies the patch at patch_file to both copies, each in its own way.
void ApplyBoth(const Copies& copies, const std::string& patch_file) {
  const testing::RunResult git = RunShellCommand(
      "cd '" + copies.by_git + "' && git -c core.autocrlf=false apply '" + patch_file + "' 2>&1");
  EXPECT_EQ(git.status, 0) << git.console;
  const testing::RunResult patch =
      RunShellCommand("cd '" + copies.by_patch + "' && patch -p1 -s < '" + patch_file + "' 2>&1");
  EXPECT_EQ(patch.status, 0) << patch.console;
}

bool HasPatchTools() {
  return RunShellCommand("command -v git && command -v patch").status == 0;
}

TEST(PatchRoundTrip, AppliedPatchGivesTheBytesARunSaves) {
  if (!HasPatchTools()) GTEST_SKIP() << "needs git and patch, to apply the patches";
  const Tree tree = MakeTree();
  const char* const option_sets[] = {"", "-lineends=lf", "-lineends=keep",
                                     "-lineends=crlf -extralines=1", "-extralines=1 -lineends=lf"};
  for (const std::string options : option_sets) {
    const Copies copies;
    for (const std::string& top : {copies.saved, copies.by_git, copies.by_patch}) {
      WriteTree(top, tree);
    }
    EXPECT_EQ(RunIn(copies.saved, options + " -files=1 .").status, 0) << options;
    const testing::RunResult diff = RunIn(copies.by_git, options + " -diff=1 -files=1 .");
    EXPECT_EQ(diff.status, kExitWouldChange) << options;
    WriteBytes(copies.root / "all.diff", diff.console);
    ApplyBoth(copies, copies.root / "all.diff");
    const Tree saved = ReadTree(copies.saved);
    ASSERT_NE(saved, tree) << options << ": the tree needs formatting";
    EXPECT_EQ(ReadTree(copies.by_git), saved) << options;
    EXPECT_EQ(ReadTree(copies.by_patch), saved) << options;

    // One file, named by its full path inside the current folder.
    const std::string name = "src/lib/deep/p7.vem";
    WriteBytes(copies.by_git + "/" + name, tree.at(name));
    WriteBytes(copies.by_patch + "/" + name, tree.at(name));
    const testing::RunResult one =
        RunIn(copies.by_git, options + " -diff=1 '" + copies.by_git + "/" + name + "'");
    EXPECT_EQ(one.status, kExitWouldChange) << options;
    EXPECT_TRUE(one.console.starts_with("--- a/" + name + "\n+++ b/" + name + "\n")) << one.console;
    WriteBytes(copies.root / "one.diff", one.console);
    ApplyBoth(copies, copies.root / "one.diff");
    EXPECT_EQ(ReadBytes(copies.by_git + "/" + name), saved.at(name)) << options;
    EXPECT_EQ(ReadBytes(copies.by_patch + "/" + name), saved.at(name)) << options;
  }
}

}  // namespace
}  // namespace vemra
