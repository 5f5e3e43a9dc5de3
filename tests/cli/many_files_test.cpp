// Many files in one run: -files, review of several names, the folder walk,
// -jobs, the report order, the summary and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "bench/program_generator.h"
#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

using testing::kFormatted;
using testing::kUnformatted;
using testing::MakeOld;
using testing::OneFileResult;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunProgram;
using testing::RunResult;
using testing::RunShellCommand;
using testing::TestFolder;
using testing::WriteBytes;

// text with "ROOT" put in place of the test folder's path.
std::string Filled(std::string text, const TestFolder& root) {
  for (std::size_t at = 0; (at = text.find("ROOT", at)) != std::string::npos;) {
    text.replace(at, 4, root.Path());
    at += root.Path().size();
  }
  return text;
}

// What a run printed after the options line: the reports and the summary.
std::string Reports(const RunResult& run) {
  const std::size_t options = run.console.find("Formatting options (");
  if (options == std::string::npos) return "no options line in:\n" + run.console;
  return run.console.substr(run.console.find('\n', options) + 1);
}

TEST(ManyFiles, AGlobOfThreeFilesFormatsEachAsAOneFileRunWould) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: a shell that expands the glob";
  TestFolder folder;
  const std::string inputs[] = {kUnformatted, GenerateProgram(7, 3000), kFormatted};
  const std::string names[] = {"x1.vem", "x2.vem", "x3.vem"};
  for (int i = 0; i < 3; ++i) WriteBytes(folder / names[i], inputs[i]);
  MakeOld(folder / "x3.vem");

  const RunResult run = RunProgram("-files=1 " + folder.Path() + "/*.vem");
  EXPECT_EQ(run.status, 0) << run.console;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadBytes(folder / names[i]), OneFileResult(inputs[i]));
  EXPECT_EQ(testing::ModifiedSecond(folder / "x3.vem"), 1000000000);  // not rewritten
  EXPECT_EQ(Reports(run), "Formatted: " + (folder / "x1.vem") + "\nFormatted: " +
                              (folder / "x2.vem") + "\nUnchanged: " + (folder / "x3.vem") +
                              "\n2 files reformatted, 1 unchanged, 0 failed\n");
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"x1.vem", "x2.vem", "x3.vem"}));
}

// A tree with nested files, files of other extensions, hidden names, links
// to folders and files inside the tree and outside it, a dangling link, and
// a pipe.
void MakeTree(const TestFolder& root) {
  for (const char* sub : {"src/lib/deep", "src/.hidden", "src/empty", "elsewhere"}) {
    fs::create_directories(root / sub);
  }
  for (const char* file : {"src/a.vem", "src/lib/b.VEM", "src/lib/deep/c.vem", "src/lib/n.txt",
                           "src/.hidden/h.vem", "src/.dot.vem", "src/x.vem.bak", "src/vem",
                           "elsewhere/e.vem", "elsewhere/f.vem", "src/t.txt"}) {
    WriteBytes(root / file, kUnformatted);
  }
  fs::create_directory_symlink(root / "elsewhere", root / "src/linked-folder");
  fs::create_symlink(root / "elsewhere/f.vem", root / "src/link.vem");
  fs::create_symlink(root / "nowhere.vem", root / "src/dangling.vem");
  fs::create_symlink("../a.vem", root / "src/lib/inner.vem");
  fs::create_directory_symlink("..", root / "src/lib/up");
  fs::create_symlink("../t.txt", root / "src/lib/readme");  // leads to no file of the walk
  testing::MakeFifo(root / "src/pipe.vem");
}

struct WalkCase {
  std::vector<std::string> arguments;  // "ROOT/" stands for the test folder
  std::string reports;                 // likewise
  int status;
};

const std::string kWalkOfSrc =
    "Would reformat: ROOT/src/a.vem\n"
    "Skipped link: ROOT/src/dangling.vem\n"
    "Would reformat: ROOT/src/lib/b.VEM\n"
    "Would reformat: ROOT/src/lib/deep/c.vem\n"
    "Skipped link: ROOT/src/lib/inner.vem\n"
    "Skipped link: ROOT/src/lib/up\n"
    "Skipped link: ROOT/src/link.vem\n"
    "Skipped link: ROOT/src/linked-folder\n"
    "ROOT/src/pipe.vem: EFOpenError: Cannot open file \"ROOT/src/pipe.vem\". It is not a regular "
    "file\n"
    "3 files would be reformatted, 0 already formatted, 1 failed, 5 skipped\n";

// A walk follows no link, to a file or a folder, inside the tree or out of
// it: each that might have given it something is counted as skipped. A
// link named on the command line is followed.
TEST(ManyFiles, FoldersAreWalkedForTheExtensionsFollowingNoLink) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: symbolic links and a FIFO in the walk";
  const WalkCase cases[] = {
      {{"ROOT/src"}, kWalkOfSrc, kExitFailure},
      {{"-ext=txt,VEM", "ROOT/src/lib/"},
       "Would reformat: ROOT/src/lib/b.VEM\nWould reformat: ROOT/src/lib/deep/c.vem\n"
       "Skipped link: ROOT/src/lib/inner.vem\nWould reformat: ROOT/src/lib/n.txt\n"
       "Skipped link: ROOT/src/lib/up\n"
       "3 files would be reformatted, 0 already formatted, 0 failed, 2 skipped\n",
       kExitWouldChange},
      {{"-ext=.txt", "ROOT/src/lib/deep"},
       "ROOT/src/lib/deep: EArgumentError: No .txt file in folder \"ROOT/src/lib/deep\"\n"
       "0 files would be reformatted, 0 already formatted, 1 failed\n",
       kExitFailure},
      // Named explicitly, a file is taken whatever its extension or name.
      {{"ROOT/src/x.vem.bak", "ROOT/src/.hidden"},
       "Would reformat: ROOT/src/.hidden/h.vem\nWould reformat: ROOT/src/x.vem.bak\n"
       "2 files would be reformatted, 0 already formatted, 0 failed\n",
       kExitWouldChange},
      // The file behind a named link is taken once, under its first path;
      // a named link to a folder is walked.
      {{"ROOT/src/link.vem", "ROOT/elsewhere/f.vem", "ROOT/src/./link.vem"},
       "Would reformat: ROOT/elsewhere/f.vem\n"
       "1 file would be reformatted, 0 already formatted, 0 failed\n",
       kExitWouldChange},
      {{"ROOT/src/linked-folder"},
       "Would reformat: ROOT/src/linked-folder/e.vem\nWould reformat: "
       "ROOT/src/linked-folder/f.vem\n"
       "2 files would be reformatted, 0 already formatted, 0 failed\n",
       kExitWouldChange},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    TestFolder root;
    MakeTree(root);
    std::vector<std::string> arguments = {"-check=1", "-files=1"};
    for (const std::string& argument : c.arguments) {
      arguments.push_back(argument.starts_with("ROOT/") ? root / argument.substr(5) : argument);
    }
    const RunResult run = RunDriver(arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(Reports(run), Filled(c.reports, root));
  }

  // Saving, nothing outside the tree changes, and a quiet run names no link.
  TestFolder root;
  MakeTree(root);
  const RunResult run = RunDriver({"-files=1", "-quiet=1", root / "src"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.console, "3 files reformatted, 0 unchanged, 1 failed, 5 skipped\n");
  EXPECT_EQ(ReadBytes(root / "src/a.vem"), kFormatted);
  for (const char* untouched : {"elsewhere/e.vem", "elsewhere/f.vem", "src/t.txt"}) {
    EXPECT_EQ(ReadBytes(root / untouched), kUnformatted) << untouched;
  }
}

struct LockedCase {
  const char* what;
  unsigned mode;  // of the folder "locked", which holds x.vem and sub/y.vem
  std::string reports;
};

// What a walk cannot look at fails, and is counted: a check must not pass
// over files it never saw. Run as a user whom the permission bits bind.
TEST(ManyFiles, EntriesTheWalkCannotLookAtFailTheRun) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: permission bits and an unprivileged user";
  const LockedCase cases[] = {
      {"read but not searched", 0666,
       "Would reformat: ROOT/a.vem\n"
       "ROOT/locked/sub: EFOpenError: Cannot open file \"ROOT/locked/sub\". Permission denied\n"
       "ROOT/locked/x.vem: EFOpenError: Cannot open file \"ROOT/locked/x.vem\". Permission "
       "denied\n"
       "1 file would be reformatted, 0 already formatted, 2 failed\n"},
      {"searched but not read", 0333,
       "Would reformat: ROOT/a.vem\n"
       "ROOT/locked: EFOpenError: Cannot open file \"ROOT/locked\". Permission denied\n"
       "1 file would be reformatted, 0 already formatted, 1 failed\n"},
  };
  for (const LockedCase& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder root;
    fs::permissions(root.Path(), fs::perms(0755));
    fs::create_directories(root / "locked/sub");
    for (const char* file : {"a.vem", "locked/x.vem", "locked/sub/y.vem"}) {
      WriteBytes(root / file, kUnformatted);
    }
    fs::permissions(root / "locked", fs::perms(c.mode));
    const RunResult run =
        testing::RunWithStreams({"-check=1", "-files=1", root.Path()}, "",
                                testing::OutputTo::kCapture, {}, testing::BecomeUnprivileged);
    fs::permissions(root / "locked", fs::perms(0755));
    if (run.status == 4) GTEST_SKIP() << "cannot run the program as an unprivileged user";
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(Reports(run), Filled(c.reports, root));
  }
}

TEST(ManyFiles, ReviewOfSeveralNamesFindsTheUnformattedOneAndPassesAfterFormatting) {
  TestFolder folder;
  const std::string good = folder / "good.vem";
  const std::string bad = folder / "bad.vem";
  const std::string other = folder / "other.src";
  WriteBytes(good, kFormatted);
  WriteBytes(bad, kUnformatted);
  WriteBytes(other, kFormatted);
  for (const std::string& path : {good, bad, other}) MakeOld(path);

  const RunResult check = RunDriver({"-check=1", good, bad, other});
  EXPECT_EQ(check.status, kExitWouldChange);
  EXPECT_EQ(Reports(check), "Would reformat: " + bad + "\nAlready formatted: " + good +
                                "\nAlready formatted: " + other +
                                "\n1 file would be reformatted, 2 already formatted, 0 failed\n");
  // The patch alone on standard output, its names taken from the current
  // folder; the reports on standard error.
  const testing::CurrentFolder here(folder.Path());
  const RunResult diff = RunDriver({"-diff=1", other, bad});
  EXPECT_EQ(diff.status, kExitWouldChange);
  EXPECT_EQ(diff.console,
            "--- a/bad.vem\n+++ b/bad.vem\n@@ -1,3 +1,3 @@\n"
            "-proc A()\n-x=1\n-    end\n+proc A()\r\n+  x = 1\r\n+end\r\n");
  EXPECT_EQ(Reports({diff.status, diff.errors, ""}),
            "Would reformat: " + bad + "\nAlready formatted: " + other +
                "\n1 file would be reformatted, 1 already formatted, 0 failed\n");
  for (const std::string& path : {good, bad, other}) {
    EXPECT_EQ(testing::ModifiedSecond(path), 1000000000) << path;  // a review writes nothing
  }

  EXPECT_EQ(RunDriver({"-files=1", good, bad, other}).status, kExitSuccess);
  EXPECT_EQ(ReadBytes(bad), kFormatted);
  const RunResult again = RunDriver({"-check=1", good, bad, other});
  EXPECT_EQ(again.status, kExitSuccess);
  EXPECT_TRUE(
      again.console.ends_with("0 files would be reformatted, 3 already formatted, 0 failed\n"))
      << again.console;
}

TEST(ManyFiles, MissingNamesAndEmptyFoldersFailWhileTheOtherFilesAreDone) {
  TestFolder folder;
  fs::create_directories(folder / "empty/.git");
  WriteBytes(folder / "empty/.git/x.vem", kUnformatted);
  WriteBytes(folder / "empty/readme.txt", kUnformatted);
  WriteBytes(folder / "a.vem", kUnformatted);
  WriteBytes(folder / "b.vem", kUnformatted);
  const std::string missing = folder / "missing.vem";
  const std::string empty = folder / "empty";
  const RunResult run =
      RunDriver({"-files=1", folder / "b.vem", missing, empty, folder / "a.vem", "-jobs=2"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(Reports(run),
            "Formatted: " + (folder / "a.vem") + "\nFormatted: " + (folder / "b.vem") + "\n" +
                empty + ": EArgumentError: No .vem file in folder \"" + empty + "\"\n" + missing +
                ": EFOpenError: Cannot open file \"" + missing + "\". " + testing::NotFoundText() +
                "\n" + "2 files reformatted, 0 unchanged, 2 failed\n");
  EXPECT_EQ(ReadBytes(folder / "a.vem"), kFormatted);
  EXPECT_EQ(ReadBytes(folder / "b.vem"), kFormatted);
  EXPECT_EQ(ReadBytes(folder / "empty/.git/x.vem"), kUnformatted);
  EXPECT_FALSE(fs::exists(missing));

  // In a review without -files=1 a folder is no file.
  const RunResult review = RunDriver({"-check=1", folder / "a.vem", empty});
  EXPECT_EQ(review.status, kExitFailure);
  EXPECT_NE(review.console.find(empty + ": EFOpenError: Cannot open file \"" + empty +
                                "\". It is not a regular file\n"),
            std::string::npos)
      << review.console;
}

struct RefusedCase {
  std::vector<std::string> options;
  std::string failure_line;
};

TEST(ManyFiles, BadJobsAndExtensionValuesAreRefusedBeforeAnyFileIsRead) {
  const RefusedCase cases[] = {
      {{"-jobs=0"}, "EConvertError: '0' is not a valid number of jobs (1 or more)\n"},
      {{"-JOBS=-3"}, "EConvertError: '-3' is not a valid number of jobs (1 or more)\n"},
      {{"-jobs=two"}, "EConvertError: 'two' is not a valid integer value\n"},
      {{"-ext="}, "EConvertError: '' is not a valid list of extensions\n"},
      {{"-ext=,."}, "EConvertError: ',.' is not a valid list of extensions\n"},
      {{"-files=maybe"}, "EConvertError: 'maybe' is not a valid boolean value\n"},
  };
  for (const RefusedCase& c : cases) {
    TestFolder folder;
    WriteBytes(folder / "a.vem", kUnformatted);
    const RunResult run = RunDriver({"-files=1", c.options[0], folder / "a.vem"});
    EXPECT_EQ(run.status, kExitFailure) << c.options[0];
    EXPECT_TRUE(run.console.ends_with(" : " + c.options[0] + "\n" + c.failure_line)) << run.console;
    EXPECT_EQ(ReadBytes(folder / "a.vem"), kUnformatted);
  }
}

// prefix, number and suffix; built by appending (g++ 12 warns wrongly about
// "literal" + std::to_string(...)).
std::string Numbered(const char* prefix, int number, const char* suffix = "") {
  std::string name = prefix;
  name += std::to_string(number);
  name += suffix;
  return name;
}

// A code base of generated programs of many sizes, some formatted already,
// some missing, in nested folders: every number of jobs prints the same
// reports in the same order and saves the same bytes.
TEST(ManyFiles, ReportsAndResultsDoNotDependOnTheNumberOfJobs) {
  const int kFiles = 120;
  auto make_tree = [](const TestFolder& root) {
    for (int i = 0; i < kFiles; ++i) {
      const fs::path folder = fs::path(root.Path()) / Numbered("m", i % 7) / Numbered("n", i % 3);
      fs::create_directories(folder);
      std::string bytes = GenerateProgram(static_cast<std::uint64_t>(i), 50 + 97 * (i % 40));
      if (i % 5 == 0) bytes = OneFileResult(bytes);
      if (i % 31 != 30) WriteBytes((folder / Numbered("f", i, ".vem")).string(), bytes);
    }
  };
  std::string first_reports[2];
  std::string first_bytes;
  for (const char* jobs : {"-jobs=1", "-jobs=2", "-jobs=3", "-jobs=64"}) {
    TestFolder root;
    make_tree(root);
    const RunResult diff = RunDriver({"-diff=1", "-files=1", jobs, root.Path()});
    EXPECT_EQ(diff.status, kExitWouldChange);
    const RunResult format = RunDriver({jobs, "-files=1", root.Path(), root / "gone.vem"});
    EXPECT_EQ(format.status, kExitFailure);
    std::string bytes;
    for (const auto& entry : fs::recursive_directory_iterator(root.Path())) {
      if (entry.is_regular_file()) {
        bytes += entry.path().string() + "\n" + ReadBytes(entry.path().string());
      }
    }
    // The folder's own name differs from run to run.
    const std::string reports[2] = {Reports(diff), Reports(format)};
    std::string relative[2];
    for (int i = 0; i < 2; ++i) {
      relative[i] = reports[i];
      for (std::size_t at; (at = relative[i].find(root.Path())) != std::string::npos;) {
        relative[i].replace(at, root.Path().size(), "ROOT");
      }
    }
    for (std::size_t at; (at = bytes.find(root.Path())) != std::string::npos;) {
      bytes.replace(at, root.Path().size(), "ROOT");
    }
    if (first_bytes.empty()) {
      first_reports[0] = relative[0];
      first_reports[1] = relative[1];
      first_bytes = bytes;
      EXPECT_TRUE(relative[1].ends_with("94 files reformatted, 23 unchanged, 1 failed\n"))
          << relative[1];
      continue;
    }
    EXPECT_EQ(relative[0], first_reports[0]) << jobs;
    EXPECT_EQ(relative[1], first_reports[1]) << jobs;
    EXPECT_EQ(bytes, first_bytes) << jobs;
  }
}

struct DescriptorCase {
  const char* descriptors;  // the run's limit, soft and hard
  const char* jobs;
  std::string notice;  // on standard error
};

// The files a run works on at once, and the saves a batch gathers, follow
// the descriptors the run may open: however many jobs are asked for, no
// file fails for want of one, and the files and reports are those of one
// file at a time.
TEST(ManyFiles, JobsAndBatchesStayWithinTheDescriptorLimit) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: ulimit -n through the shell";
  const int kFiles = 300;
  TestFolder folder;
  TestFolder errors;
  std::vector<std::string> inputs;
  std::vector<std::string> results;
  std::string check_reports;
  std::string reports;
  for (int i = 0; i < kFiles; ++i) {
    inputs.push_back(i % 4 == 0 ? kFormatted : GenerateProgram(static_cast<std::uint64_t>(i), 400));
    results.push_back(OneFileResult(inputs.back()));
    const std::string path = folder / Numbered("f", 1000 + i, ".vem");
    WriteBytes(path, inputs.back());
    check_reports += (i % 4 == 0 ? "Already formatted: " : "Would reformat: ") + path + "\n";
    reports += (i % 4 == 0 ? "Unchanged: " : "Formatted: ") + path + "\n";
  }
  const DescriptorCase cases[] = {
      {"150", "-jobs=3", ""},
      {"70", "-jobs=3", "-jobs=3 lowered to 2: the run may open at most 70 files at once\n"},
      {"64", "-jobs=100000",
       "-jobs=100000 lowered to 2: the run may open at most 64 files at once\n"},
  };
  for (const DescriptorCase& c : cases) {
    SCOPED_TRACE(c.descriptors);
    auto run = [&](const std::string& options) {
      return RunShellCommand("ulimit -n " + std::string(c.descriptors) + " && " + VEMRA_BINARY +
                             " " + options + " " + c.jobs + " " + folder.Path() + " 2> " +
                             (errors / "err"));
    };
    const RunResult check = run("-check=1 -files=1");
    EXPECT_EQ(check.status, kExitWouldChange) << check.console;
    EXPECT_EQ(Reports(check), check_reports +
                                  "225 files would be reformatted, 75 already "
                                  "formatted, 0 failed\n");
    EXPECT_EQ(ReadBytes(errors / "err"), c.notice);
    const RunResult format = run("-files=1");
    EXPECT_EQ(format.status, kExitSuccess) << format.console;
    EXPECT_EQ(Reports(format), reports + "225 files reformatted, 75 unchanged, 0 failed\n");
    EXPECT_EQ(ReadBytes(errors / "err"), c.notice);
    for (int i = 0; i < kFiles; ++i) {
      EXPECT_EQ(ReadBytes(folder / Numbered("f", 1000 + i, ".vem")), results[i]) << i;
    }
    for (int i = 0; i < kFiles; ++i)
      WriteBytes(folder / Numbered("f", 1000 + i, ".vem"), inputs[i]);
    EXPECT_EQ(folder.Names().size(), static_cast<std::size_t>(kFiles));
  }
}

struct QuotedCase {
  std::vector<std::string> arguments;  // "ROOT" stands for the test folder
  std::string console;                 // likewise, after the banner
  std::string errors;                  // likewise
  int status;
};

// A name with a line end or another control byte cannot break a report's
// line, or forge one: reports, patch headers, failures, progress and echo
// lines show it quoted, with C-style escapes.
TEST(ManyFiles, NamesWithControlBytesAreQuotedWhereverTheyAreShown) {
  if (!testing::OnLinux()) GTEST_SKIP() << "needs Linux: control bytes in names, and a FIFO";
  const std::string options = "Formatting options (tabwidth=2, tabs=False, extralines=False";
  const QuotedCase cases[] = {
      {{"-diff=1", "-files=1", "ROOT"},
       "--- \"a/a\\nb.vem\"\n+++ \"b/a\\nb.vem\"\n"
       "@@ -1,3 +1,3 @@\n-proc A()\n-x=1\n-    end\n+proc A()\r\n+  x = 1\r\n+end\r\n",
       "1 : -diff=1\n2 : -files=1\n3 : ROOT\n" + options + ", diff=True)\n" +
           "Would reformat: \"ROOT/a\\nb.vem\"\n"
           "Skipped link: \"ROOT/l\\033.vem\"\n"
           "\"ROOT/p\\t.vem\": EFOpenError: Cannot open file \"ROOT/p\\t.vem\". It is not a "
           "regular file\n"
           "1 file would be reformatted, 0 already formatted, 1 failed, 1 skipped\n",
       kExitFailure},
      {{"ROOT/a\nb.vem"},
       "1 : \"ROOT/a\\nb.vem\"\nLoading source file \"ROOT/a\\nb.vem\"...done!\n" + options +
           ")\nParsing...done!\nSaving output file to \"ROOT/a\\nb.vem\"...done!\n",
       "",
       kExitSuccess},
      {{"-quiet=1", "-check=1", "ROOT/m\x7f.vem"},
       "",
       "\"ROOT/m\\177.vem\": EFOpenError: Cannot open file \"ROOT/m\\177.vem\". No such file "
       "or directory\n",
       kExitFailure},
  };
  for (const QuotedCase& c : cases) {
    TestFolder root;
    WriteBytes(root / "a\nb.vem", kUnformatted);
    fs::create_symlink("a\nb.vem", root / "l\x1b.vem");
    testing::MakeFifo(root / "p\t.vem");
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) arguments.push_back(Filled(argument, root));
    const testing::CurrentFolder here(root.Path());  // where patches name files from
    const RunResult run = RunDriver(arguments);
    EXPECT_EQ(run.status, c.status);
    auto after_banner = [](const std::string& text) {
      return text.starts_with(testing::kBanner) ? text.substr(testing::kBanner.size()) : text;
    };
    EXPECT_EQ(after_banner(run.console), Filled(c.console, root));
    EXPECT_EQ(after_banner(run.errors), Filled(c.errors, root));
  }
}

TEST(ManyFiles, OneNameWithFilesIsReportedAndTwoNamesAreBothInputs) {
  TestFolder folder;
  const std::string a = folder / "a.vem";
  const std::string b = folder / "b.vem";
  WriteBytes(a, kUnformatted);
  WriteBytes(b, kUnformatted);
  const RunResult one = RunDriver({"-files=1", a});
  EXPECT_EQ(Reports(one), "Formatted: " + a + "\n1 file reformatted, 0 unchanged, 0 failed\n");
  const RunResult two = RunDriver({"-files=TRUE", b, a});
  EXPECT_EQ(two.status, kExitSuccess);
  EXPECT_EQ(Reports(two), "Unchanged: " + a + "\nFormatted: " + b +
                              "\n1 file reformatted, 1 unchanged, 0 failed\n");
  EXPECT_EQ(ReadBytes(b), kFormatted);
}

}  // namespace
}  // namespace vemra
