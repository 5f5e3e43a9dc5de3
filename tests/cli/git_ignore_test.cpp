// A folder walk inside a git work tree leaves out what git ignores, and
// what the project's settings skip, and takes what git tracks. The work
// trees are made with git's own library, so that the test runs where no
// git program is; where one is, what it lists is checked too.
#include <git2.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

using testing::kUnformatted;
using testing::RunDriver;
using testing::RunResult;
using testing::TestFolder;
using testing::WriteBytes;

// Every .vem file of the tree below, by its path there.
const std::vector<std::string> kTaken = {"a.vem",        "docs/a/notes.vem", "lib/keep.gen.vem",
                                         "lib/tmp.vem",  "lib/top.vem",      "out/tracked.vem",
                                         "src/main.vem", "sub/m.vem"};
const std::vector<std::string> kIgnored = {
    "#hash.vem",        "docs/a/b/draft.vem", "docs/draft.vem", "lib/old.bak.vem",
    "lib/secret.vem",   "lib/x.gen.vem",      "out/o.vem",      "secret.vem",
    "src/sub/deep.vem", "src/util.vem",       "tmp.vem/in.vem", "top.vem",
    "sub/n.vem"};
const char* const kSkipped = "vendor/v.vem";  // by vemrafmt_skip

// A work tree with a rule of each kind, each leaving out some of the files:
// anchored, "**", negation, an escape, a folder-only pattern, a nested
// .gitignore, .git/info/exclude, core.excludesFile, a folder ignored with a
// file tracked in it, and a repository of its own inside the tree.
class IgnoreTree {
 public:
  IgnoreTree() {
    git_libgit2_init();
    for (const std::string& path : kTaken) Put(path, kUnformatted);
    for (const std::string& path : kIgnored) Put(path, kUnformatted);
    Put(kSkipped, kUnformatted);
    Put(".gitignore",
        "out/\n*.gen.vem\n!keep.gen.vem\n/top.vem\ndocs/**/draft.vem\n\\#hash.vem\ntmp.vem/\n");
    Put("src/.gitignore", "*.vem\n!main.vem\n");
    Put("excludes", "*.bak.vem\n");
    Put(".editorconfig", "root = true\n[vendor/**]\nvemrafmt_skip = true\n");
    Put("sub/.gitignore", "n.vem\n");
    git_repository* repository = Init("", {"out/tracked.vem"});
    git_config* config = nullptr;
    EXPECT_EQ(git_repository_config(&config, repository), 0);
    EXPECT_EQ(git_config_set_string(config, "core.excludesFile", (root_ / "excludes").c_str()), 0);
    git_config_free(config);
    git_repository_free(repository);
    Put(".git/info/exclude", "secret.vem\n");
    git_repository_free(Init("sub", {}));
  }
  ~IgnoreTree() { git_libgit2_shutdown(); }

  void Put(const std::string& path, const std::string& bytes) const {
    fs::create_directories(testing::PathOf(Path(path)).parent_path());
    WriteBytes(Path(path), bytes);
  }
  // The path of a file of the tree, as the walk writes it.
  std::string Path(std::string path) const {
    std::replace(path.begin(), path.end(), '/', testing::PathSeparator());
    return root_ / path;
  }
  const std::string& Root() const { return root_.Path(); }

 private:
  // A repository in the folder at path, tracking the files named.
  git_repository* Init(const std::string& path, const std::vector<std::string>& tracked) const {
    git_repository* repository = nullptr;
    EXPECT_EQ(git_repository_init(&repository, Path(path).c_str(), 0), 0);
    git_index* index = nullptr;
    EXPECT_EQ(git_repository_index(&index, repository), 0);
    for (const std::string& file : tracked) EXPECT_EQ(git_index_add_bypath(index, file.c_str()), 0);
    EXPECT_EQ(git_index_write(index), 0);
    git_index_free(index);
    return repository;
  }

  TestFolder root_;
};

struct IgnoreCase {
  std::vector<std::string> arguments;  // "ROOT/" stands for the tree
  std::vector<std::string> taken;      // paths in the tree
  std::size_t ignored;                 // in the summary
};

// What a quiet review of these files prints.
std::string Verdicts(const IgnoreTree& tree, const std::vector<std::string>& taken,
                     std::size_t ignored) {
  std::vector<std::string> paths;
  for (const std::string& path : taken) paths.push_back(tree.Path(path));
  std::sort(paths.begin(), paths.end());
  std::string text;
  for (const std::string& path : paths) text += "Would reformat: " + path + "\n";
  text += std::to_string(taken.size()) + (taken.size() == 1 ? " file" : " files") +
          " would be reformatted, 0 already formatted, 0 failed";
  return text + (ignored > 0 ? ", " + std::to_string(ignored) + " ignored\n" : "\n");
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(GitIgnore, AWalkTakesWhatGitListsLessWhatTheSettingsSkip) {
  const IgnoreTree tree;
  const std::vector<std::string> all = Joined(Joined(kTaken, kIgnored), {kSkipped});
  const IgnoreCase cases[] = {
      {{"ROOT"}, kTaken, kIgnored.size() + 1},
      {{"-ignorefiles=0", "ROOT"}, Joined(kTaken, kIgnored), 1},
      {{"-ignorefiles=0", "-editorconfig=0", "ROOT"}, all, 0},
      // Named, a file or folder is taken whatever the rules say of it.
      {{"ROOT/top.vem", "ROOT/vendor/v.vem", "ROOT/out"},
       {"top.vem", kSkipped, "out/o.vem", "out/tracked.vem"},
       0},
      // A walk below the top of the tree goes by the same rules.
      {{"ROOT/src"}, {"src/main.vem"}, 2},
  };
  for (const IgnoreCase& c : cases) {
    std::vector<std::string> arguments = {"-check=1", "-files=1", "-quiet=1"};
    for (const std::string& argument : c.arguments) {
      arguments.push_back(argument == "ROOT"              ? tree.Root()
                          : argument.starts_with("ROOT/") ? tree.Path(argument.substr(5))
                                                          : argument);
    }
    SCOPED_TRACE(arguments.back());
    const RunResult run = RunDriver(arguments);
    EXPECT_EQ(run.status, kExitWouldChange);
    EXPECT_EQ(run.console, Verdicts(tree, c.taken, c.ignored));
  }

  if (!testing::OnLinux()) return;
  // git's own list, less the files skipped, the nested repository, hidden
  // names and other extensions.
  const RunResult git = testing::RunShellCommand("git -C '" + tree.Root() +
                                                 "' ls-files --cached --others --exclude-standard");
  if (git.status != 0) GTEST_SKIP() << "no git program: " << git.errors;
  std::set<std::string> listed;
  for (std::size_t at = 0, end; (end = git.console.find('\n', at)) != std::string::npos;
       at = end + 1) {
    const std::string path = git.console.substr(at, end - at);
    if (path.ends_with(".vem") && !path.starts_with("vendor/")) listed.insert(path);
  }
  listed.insert("sub/m.vem");
  EXPECT_EQ(listed, std::set<std::string>(kTaken.begin(), kTaken.end()));
}

// A repository whose index cannot be read fails the walk of its folder:
// which files git ignores there is not known.
TEST(GitIgnore, ARepositoryThatCannotBeReadFailsItsFolder) {
  const IgnoreTree tree;
  tree.Put(".git/index", "not an index");
  const RunResult run = RunDriver({"-check=1", "-files=1", "-quiet=1", tree.Root()});
  EXPECT_EQ(run.status, kExitFailure);
  const std::string failure =
      tree.Root() + ": ESettingsError: Cannot read the git rules for \"" + tree.Root() + "\": ";
  EXPECT_TRUE(run.errors.starts_with(failure)) << run.errors;
  EXPECT_EQ(run.console, "0 files would be reformatted, 0 already formatted, 1 failed\n");
}

}  // namespace
}  // namespace vemra
