// A project's .editorconfig files give the defaults the command line leaves
// open: real settings files in a temporary tree, whose top file says
// "root = true" so that no file above the tree takes part.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::ReadBytes;
using testing::RunDriver;
using testing::RunResult;
using testing::TestFolder;
using testing::WriteBytes;

// Two levels of blocks, so that tabs and tabwidth show, and a run of empty
// lines, so that extralines does.
const std::string kProgram = "proc A()\nif x then\ny=1\n\n\nend\nend\n";
const std::string kDefaultLine = "Formatting options (tabwidth=2, tabs=False, extralines=False)";
const std::string kRootSpaces4Lf =
    "root = true\n[*.vem]\nindent_style = space\nindent_size = 4\nend_of_line = lf\n";

// A temporary tree of settings files and inputs; "ROOT" in a text stands
// for its folder.
class SettingsTree {
 public:
  void Put(const std::string& relative, const std::string& bytes) const {
    const std::string path = folder_ / relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, bytes);
  }
  std::string Path(const std::string& relative) const { return folder_ / relative; }
  // text with ROOT put in place, and the paths below it written as the
  // system writes paths.
  std::string Fill(std::string text) const {
    for (std::size_t at = text.find("ROOT"); at != std::string::npos; at = text.find("ROOT", at)) {
      std::size_t end = at + 4;
      while (end < text.size() && text[end] != ' ' && text[end] != ',' && text[end] != ')' &&
             text[end] != '\n' && text[end] != ':') {
        if (text[end] == '/') text[end] = testing::PathSeparator();
        ++end;
      }
      text.replace(at, 4, folder_.Path());
    }
    return text;
  }

 private:
  TestFolder folder_;
};

// The line of the console that begins with "Formatting options".
std::string OptionsLineOf(const std::string& console) {
  const std::size_t start = console.find("Formatting options");
  if (start == std::string::npos) return {};
  return console.substr(start, console.find('\n', start) - start);
}

// The bytes kProgram is saved as with the options, in a folder without
// settings files (that are read).
std::string ResultWithout(std::vector<std::string> options) {
  options.push_back("-editorconfig=0");
  return testing::OneFileResult(kProgram, std::move(options));
}

struct SettingsCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> files;  // settings files in the tree
  std::string input;                                       // where the input is in the tree
  std::vector<std::string> options;                        // on the command line
  std::vector<std::string> same_as;  // the options giving the same result without settings
  std::string options_line;
  std::string warning = {};  // on standard error; empty: none
};

TEST(ProjectSettings, GiveTheDefaultsTheCommandLineLeavesOpen) {
  const SettingsCase cases[] = {
      {"a [*.vem] section",
       {{".editorconfig", kRootSpaces4Lf}},
       "a.vem",
       {},
       {"-tabwidth=4", "-lineends=lf"},
       "Formatting options (tabwidth=4 from ROOT/.editorconfig, tabs=False from "
       "ROOT/.editorconfig, extralines=False, lineends=LF from ROOT/.editorconfig)"},
      {"a section for other files",
       {{".editorconfig", "root = true\n[*.txt]\nindent_size = 4\n"}},
       "a.vem",
       {},
       {},
       kDefaultLine},
      {"a glob anchored at the settings file's folder",
       {{".editorconfig", "root = true\n[sub/*.vem]\nindent_size = 5\n"}},
       "sub/a.vem",
       {},
       {"-tabwidth=5"},
       "Formatting options (tabwidth=5 from ROOT/.editorconfig, tabs=False, extralines=False)"},
      {"a nested folder's file overrides its parent's",
       {{".editorconfig", kRootSpaces4Lf},
        {"sub/.editorconfig", "[*.vem]\nindent_style = tab\nindent_size = 3\n"}},
       "sub/a.vem",
       {},
       {"-tabwidth=3", "-tabs=1", "-lineends=lf"},
       // A value is shown as from the nearest settings file.
       "Formatting options (tabwidth=3 from ROOT/sub/.editorconfig, tabs=True from "
       "ROOT/sub/.editorconfig, extralines=False, lineends=LF from ROOT/sub/.editorconfig)"},
      {"root = true stops the search",
       {{".editorconfig", kRootSpaces4Lf}, {"sub/.editorconfig", "root = true\n"}},
       "sub/a.vem",
       {},
       {},
       kDefaultLine},
      {"the command line wins",
       {{".editorconfig", kRootSpaces4Lf + "vemrafmt_extralines = true\n"}},
       "a.vem",
       {"-TabWidth=3", "-tabs=1", "-lineends=crlf", "-extralines=0"},
       {"-tabwidth=3", "-tabs=1"},
       "Formatting options (tabwidth=3, tabs=True, extralines=False)"},
      {"-editorconfig=0 ignores the files",
       {{".editorconfig", kRootSpaces4Lf}},
       "a.vem",
       {"-editorconfig=0"},
       {},
       kDefaultLine},
      {"indent_size = tab takes tab_width",
       {{".editorconfig",
         "root = true\n[*]\nindent_style = tab\nindent_size = tab\ntab_width = 8\n"}},
       "a.vem",
       {},
       {"-tabwidth=8", "-tabs=1"},
       "Formatting options (tabwidth=8 from ROOT/.editorconfig, tabs=True from ROOT/.editorconfig, "
       "extralines=False)"},
      {"values not valid for their property are passed over",
       {{".editorconfig",
         "root = true\n[*]\nindent_style = both\nindent_size = -1\nend_of_line = unix\n"
         "[a.vem]\nindent_size = 0x4\n"}},
       "a.vem",
       {},
       {},
       kDefaultLine},
      // A file named on the command line is taken even where a walk
      // would skip it.
      {"the program's own properties, in any letter case",
       {{".editorconfig",
         "root = true\n[*.vem]\nVemraFmt_ExtraLines = TRUE\nvemrafmt_skip = true\n"}},
       "a.vem",
       {},
       {"-extralines=1"},
       "Formatting options (tabwidth=2, tabs=False, extralines=True from ROOT/.editorconfig)"},
      {"a CR LF the settings file asks for is shown",
       {{".editorconfig", "root = true\n[*.vem]\nend_of_line = CRLF\nindent_size = 0\n"}},
       "a.vem",
       {},
       {},
       "Formatting options (tabwidth=2, tabs=False, extralines=False, lineends=CRLF from "
       "ROOT/.editorconfig)"},
      {"end_of_line = cr is passed over with a warning",
       {{".editorconfig", "root = true\n[*.vem]\nend_of_line = cr\nindent_size = 4\n"}},
       "a.vem",
       {},
       {"-tabwidth=4"},
       "Formatting options (tabwidth=4 from ROOT/.editorconfig, tabs=False, extralines=False)",
       "ROOT/a.vem: end_of_line = cr in ROOT/.editorconfig is not supported, and passed over\n"},
  };
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsTree tree;
    for (const auto& [name, bytes] : c.files) tree.Put(name, bytes);
    tree.Put(c.input, kProgram);
    std::vector<std::string> arguments = c.options;
    arguments.push_back(tree.Path(c.input));
    const RunResult run = RunDriver(arguments);
    EXPECT_EQ(run.status, kExitSuccess) << run.console;
    EXPECT_EQ(ReadBytes(tree.Path(c.input)), ResultWithout(c.same_as));
    EXPECT_EQ(OptionsLineOf(run.console), tree.Fill(c.options_line));
    EXPECT_EQ(run.errors, tree.Fill(c.warning));
  }
}

// No folder above the test's has a settings file here; where one has, the
// test cannot show what it is meant to.
bool NoSettingsFileAbove(const std::string& folder) {
  for (std::filesystem::path path = folder; path != path.parent_path(); path = path.parent_path()) {
    if (std::filesystem::exists(path.parent_path() / ".editorconfig")) return false;
  }
  return true;
}

TEST(ProjectSettings, AFileWithoutSettingsFilesFormatsAsWithoutTheOption) {
  SettingsTree tree;
  if (!NoSettingsFileAbove(tree.Path("a.vem"))) GTEST_SKIP() << "a settings file above /tmp";
  tree.Put("a.vem", kProgram);
  const RunResult run = RunDriver({tree.Path("a.vem")});
  EXPECT_EQ(ReadBytes(tree.Path("a.vem")), ResultWithout({}));
  EXPECT_EQ(OptionsLineOf(run.console), kDefaultLine);
  EXPECT_EQ(run.errors, "");
}

// A settings file that cannot be read or parsed fails the input it may
// apply to, which is left as it is; the run's other inputs go on.
TEST(ProjectSettings, ASettingsFileThatCannotBeReadFailsItsInputs) {
  if (!testing::OnLinux()) {
    GTEST_SKIP() << "needs Linux: a FIFO, a link loop, and the reasons as Linux words them";
  }
  enum class Kind { kFile, kLinkLoop, kPipe, kFolder };
  struct Case {
    Kind kind;
    std::string bytes;    // of the settings file
    std::string failure;  // after "ESettingsError: "
  };
  const std::string bad_line = "Cannot parse settings file \"ROOT/bad/.editorconfig\": line ";
  const Case cases[] = {
      {Kind::kFile, "[*.vem\nindent_size = 4\n", bad_line + "1 is not valid"},
      {Kind::kFile, "root = true\n[*]\nindent_size = 4\nnot a property\n",
       bad_line + "4 is not valid"},
      // Lines longer than the library reads at once are still named by
      // their own numbers: one of 100,000 bytes, and one whose CR LF just
      // passes what the library reads at once.
      {Kind::kFile, "root = true\n[*]\n" + std::string(99999, ' ') + "x\nindent_size = 4\n",
       bad_line + "3 is not valid"},
      {Kind::kFile, "root = true\r\n[*]\r\n" + std::string(4998, ' ') + "\r\nnot a property\r\n",
       bad_line + "4 is not valid"},
      // A value of the program's own properties that is not true or false
      // is named with its line, counted as the file counts it, in the
      // settings file that set it.
      {Kind::kFile, "root = true\n[*]\nvemrafmt_extralines = maybe\n",
       "Cannot use settings file \"ROOT/bad/.editorconfig\": line 3: vemrafmt_extralines = "
       "maybe is not true or false"},
      {Kind::kFile,
       "[*]\n" + std::string(12000, ' ') +
           "\n[*.vem]\nvemrafmt_skip = 1 ; one\n[*.txt]\nvemrafmt_skip = 2\n",
       "Cannot use settings file \"ROOT/bad/.editorconfig\": line 4: vemrafmt_skip = 1 is not "
       "true or false"},
      {Kind::kLinkLoop, "",
       "Cannot open settings file \"ROOT/bad/.editorconfig\". Too many levels of symbolic links"},
      // A pipe would hold the run up for ever, waiting for a writer.
      {Kind::kPipe, "", "Cannot open settings file \"ROOT/bad/.editorconfig\": not a regular file"},
      {Kind::kFolder, "",
       "Cannot open settings file \"ROOT/bad/.editorconfig\": not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    SettingsTree tree;
    tree.Put(".editorconfig", "root = true\n");
    const std::string settings_file = tree.Path("bad/.editorconfig");
    std::filesystem::create_directories(tree.Path("bad"));
    if (c.kind == Kind::kFile) tree.Put("bad/.editorconfig", c.bytes);
    if (c.kind == Kind::kLinkLoop) {
      std::filesystem::create_symlink(".editorconfig", settings_file);
    }
    if (c.kind == Kind::kPipe) {
      ASSERT_TRUE(testing::MakeFifo(settings_file));
    }
    if (c.kind == Kind::kFolder) tree.Put("bad/.editorconfig/x", "");
    tree.Put("bad/a.vem", kProgram);
    tree.Put("good/b.vem", kProgram);

    const RunResult one = RunDriver({tree.Path("bad/a.vem")});
    EXPECT_EQ(one.status, kExitFailure);
    EXPECT_TRUE(one.console.ends_with("...done!\nESettingsError: " + tree.Fill(c.failure) + "\n"))
        << one.console;
    EXPECT_EQ(ReadBytes(tree.Path("bad/a.vem")), kProgram);

    const RunResult many = RunDriver({"-files=1", tree.Fill("ROOT")});
    EXPECT_EQ(many.status, kExitFailure);
    EXPECT_NE(many.console.find(tree.Fill("ROOT/bad/a.vem: ESettingsError: " + c.failure + "\n")),
              std::string::npos)
        << many.console;
    EXPECT_EQ(ReadBytes(tree.Path("bad/a.vem")), kProgram);
    EXPECT_EQ(ReadBytes(tree.Path("good/b.vem")), ResultWithout({}));
  }
}

// Each file of a many-files run has its own settings; the options line is
// printed again before the report of a file whose options differ from
// those of the file before it.
TEST(ProjectSettings, EachFileOfManyHasItsOwn) {
  SettingsTree tree;
  tree.Put(".editorconfig", "root = true\n");
  tree.Put("a/.editorconfig", "[*.vem]\nindent_size = 4\n");
  for (const char* name : {"a/1.vem", "a/2.vem", "b/3.vem"}) tree.Put(name, kProgram);
  const RunResult run = RunDriver({"-files=1", "-jobs=2", tree.Fill("ROOT")});
  EXPECT_EQ(run.status, kExitSuccess);
  const std::string line4 =
      "Formatting options (tabwidth=4 from ROOT/a/.editorconfig, tabs=False, extralines=False)\n";
  EXPECT_TRUE(run.console.ends_with(tree.Fill(kDefaultLine + "\n" + line4 +
                                              "Formatted: ROOT/a/1.vem\nFormatted: ROOT/a/2.vem\n" +
                                              kDefaultLine + "\nFormatted: ROOT/b/3.vem\n" +
                                              "3 files reformatted, 0 unchanged, 0 failed\n")))
      << run.console;
  EXPECT_EQ(ReadBytes(tree.Path("a/1.vem")), ResultWithout({"-tabwidth=4"}));
  EXPECT_EQ(ReadBytes(tree.Path("b/3.vem")), ResultWithout({}));
}

// Text from standard input has the settings of the file -filename names.
TEST(ProjectSettings, StandardInputHasThoseOfTheFileItIsNamedFor) {
  SettingsTree tree;
  tree.Put(".editorconfig", kRootSpaces4Lf);
  const RunResult named = RunDriver({"-stdin=1", "-filename=" + tree.Path("src/a.vem")}, kProgram);
  EXPECT_EQ(named.console, ResultWithout({"-tabwidth=4", "-lineends=lf"}));
  const RunResult unnamed = RunDriver({"-stdin=1"}, kProgram);
  EXPECT_EQ(unnamed.console, ResultWithout({}));
}

}  // namespace
}  // namespace vemra
