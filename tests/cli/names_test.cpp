// File names as the system spells them, given to the built program on its
// command line and found by its walks: letters beyond Latin, and on Windows
// the long-path and device forms that begin with two backslashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::kFormatted;
using testing::kUnformatted;
using testing::ReadBytes;
using testing::RunResult;
using testing::RunWithStreams;
using testing::TestFolder;
using testing::WriteBytes;

struct NameCase {
  // "@DIR" stands for the folder as the case spells it, "@FILE" for the
  // file in it, "@PLAIN" for the file's plain full path.
  std::vector<std::string> arguments;
  int status;
  std::string console;  // likewise
};

// Runs each case on a fresh folder holding one unformatted file, named
// name, and checks what was printed and saved; folder_spelling turns the
// folder's path into the form the case gives it in.
void RunNameCases(const std::string& name, const std::vector<NameCase>& cases,
                  std::string (*folder_spelling)(const std::string&)) {
  for (const NameCase& c : cases) {
    TestFolder folder;
    const std::string dir = folder_spelling(folder.Path());
    const std::string file = dir + testing::PathSeparator() + name;
    auto fill = [&](std::string text) {
      for (const auto& [mark, value] :
           {std::pair{"@FILE", file}, std::pair{"@DIR", dir}, std::pair{"@PLAIN", folder / name}}) {
        for (std::size_t at = 0; (at = text.find(mark, at)) != std::string::npos;) {
          text.replace(at, std::string(mark).size(), value);
          at += value.size();
        }
      }
      return text;
    };
    WriteBytes(folder / name, kUnformatted);
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) arguments.push_back(fill(argument));
    const RunResult run = RunWithStreams(arguments, "");
    SCOPED_TRACE(fill(c.arguments.back()));
    EXPECT_EQ(run.status, c.status) << run.errors;
    EXPECT_EQ(run.console, fill(c.console));
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(ReadBytes(folder / name), c.status == kExitSuccess ? kFormatted : kUnformatted);
    EXPECT_EQ(folder.Names(), std::set<std::string>{name});
  }
}

std::string AsItIs(const std::string& path) {
  return path;
}

// Cyrillic, Greek and Japanese letters, in UTF-8, given as an argument and
// found by a walk: read, shown and saved under the same name.
TEST(Names, LettersBeyondLatinAreGivenWalkedAndShownAsTheyAre) {
  const std::string name = "Тест-λ-日本.vem";
  const std::vector<NameCase> cases = {
      {{"-quiet=1", "-check=1", "@FILE"}, kExitWouldChange, "Would reformat: @FILE\n"},
      {{"-quiet=1", "-check=1", "-files=1", "@DIR"},
       kExitWouldChange,
       "Would reformat: @FILE\n1 file would be reformatted, 0 already formatted, 0 failed\n"},
      {{"-quiet=1", "-files=1", "@DIR"},
       kExitSuccess,
       "1 file reformatted, 0 unchanged, 0 failed\n"},
  };
  RunNameCases(name, cases, AsItIs);
}

// The long-path form "\\?\C:\..." and the device form "\\.\C:\...": read,
// walked and saved through as given. (A share of another machine,
// "\\server\share\...", needs a server, which wine has not.)
TEST(Names, LongPathAndDeviceFormsAreReadWalkedAndSaved) {
  if (testing::OnLinux()) GTEST_SKIP() << "needs Windows: its \\\\?\\ and \\\\.\\ forms";
  for (const auto spelling : {+[](const std::string& path) { return "\\\\?\\" + path; },
                              +[](const std::string& path) { return "\\\\.\\" + path; }}) {
    const std::vector<NameCase> cases = {
        // A name given alone is shown as its full path, in the form given.
        {{"-quiet=1", "-check=1", "@FILE"}, kExitWouldChange, "Would reformat: @FILE\n"},
        {{"-quiet=1", "-check=1", "-files=1", "@DIR"},
         kExitWouldChange,
         "Would reformat: @FILE\n1 file would be reformatted, 0 already formatted, 0 failed\n"},
        {{"-quiet=1", "@FILE"}, kExitSuccess, ""},
        {{"-quiet=1", "-files=1", "@DIR"},
         kExitSuccess,
         "1 file reformatted, 0 unchanged, 0 failed\n"},
    };
    RunNameCases("in.vem", cases, spelling);
  }
}

}  // namespace
}  // namespace vemra
