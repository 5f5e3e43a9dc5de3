// -lineends: what every line of the result ends in, the input's own line
// ends whatever they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/driver.h"
#include "tests/base/test_folder.h"
#include "tests/cli/run_helpers.h"

namespace vemra {
namespace {

using testing::FolderWithInput;
using testing::kUnformatted;
using testing::OneFileResult;
using testing::ReadBytes;
using testing::RunDriver;
using testing::RunResult;

std::string WithLf(std::string text) {
  std::string lf;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  return lf;
}

std::string Example(const std::string& name) {
  return ReadBytes(std::string(VEMRA_SOURCE_DIR) + "/examples/" + name);
}

// Inputs with every kind of line end, a CR inside a comment and a literal,
// none at the end, and an empty text.
std::vector<std::string> Inputs() {
  return {kUnformatted,           "proc A()\r\nx=1 /* a\rb */\r\n\r\n\r\ns = 'c\rd'\nend",
          "proc A()\rx=1\rend\r", "",
          Example("messy.vem"),   Example("loops.vem"),
          Example("sample.vem")};
}

TEST(LineEnds, LfIsTheDefaultResultWithEveryCrLfMadeLf) {
  for (const std::string& input : Inputs()) {
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"-tabs=1", "-extralines=1"}, {"-tabwidth=4"}}) {
      std::vector<std::string> with_lf = options;
      with_lf.push_back("-lineends=lf");
      const std::string crlf = OneFileResult(input, options);
      EXPECT_EQ(OneFileResult(input, with_lf), WithLf(crlf)) << input.substr(0, 40);
      std::vector<std::string> with_crlf = options;
      with_crlf.push_back("-LineEnds=CRLF");
      EXPECT_EQ(OneFileResult(input, with_crlf), crlf);
    }
  }
}

// keep: the line end of the first line; CR LF when it ends in CR LF or a
// lone CR, or when the text has no line end at all.
TEST(LineEnds, KeepTakesTheLineEndOfTheFirstLine) {
  struct Case {
    std::string input;
    bool lf;
  };
  const Case cases[] = {
      {"proc A()\nx=1\nend\n", true},
      {"proc A()\r\nx=1\r\nend\r\n", false},
      {"proc A()\nx=1\r\nend\r\n", true},
      {"proc A()\r\nx=1\nend\n", false},
      {"proc A()\rx=1\nend\n", false},
      {"\nproc A()\r\nend\r\n", true},
      {"x=1", false},
      {"", false},
  };
  for (const Case& c : cases) {
    const std::string crlf = OneFileResult(c.input);
    EXPECT_EQ(OneFileResult(c.input, {"-lineends=KEEP"}), c.lf ? WithLf(crlf) : crlf) << c.input;
  }
}

TEST(LineEnds, AFileFormattedWithLfPassesTheCheckWithLf) {
  testing::TestFolder folder;
  const std::string path = folder / "messy.vem";
  testing::WriteBytes(path, WithLf(Example("messy.vem")));
  ASSERT_EQ(RunDriver({"-lineends=lf", path}).status, kExitSuccess);
  EXPECT_EQ(ReadBytes(path).find('\r'), std::string::npos);
  EXPECT_EQ(RunDriver({"-check=1", "-lineends=lf", path}).status, kExitSuccess);
  EXPECT_EQ(RunDriver({"-check=1", "-lineends=keep", path}).status, kExitSuccess);
  EXPECT_EQ(RunDriver({"-check=1", path}).status, kExitWouldChange);
}

TEST(LineEnds, AnUnknownValueFailsBeforeAnyFileIsRead) {
  for (const char* value : {"unix", "", "cr", "lf ", "LFCR"}) {
    FolderWithInput folder;
    const RunResult run =
        RunDriver(folder.Fill(std::vector<std::string>{"-lineends=" + std::string(value), "@IN"}));
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_TRUE(run.console.ends_with("EConvertError: '" + std::string(value) +
                                      "' is not a valid line end (crlf, lf or keep)\n"))
        << run.console;
    EXPECT_EQ(run.console.find("Loading"), std::string::npos);
    EXPECT_TRUE(folder.Untouched());
  }
}

// The options line names the line end only when it is not the default.
TEST(LineEnds, TheOptionsLineNamesAChosenLineEndOnly) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "Formatting options (tabwidth=2, tabs=False, extralines=False)\n"},
      {{"-lineends=crlf"}, "Formatting options (tabwidth=2, tabs=False, extralines=False)\n"},
      {{"-lineends=Lf"},
       "Formatting options (tabwidth=2, tabs=False, extralines=False, lineends=LF)\n"},
      {{"-lineends=keep", "-check=1"},
       "Formatting options (tabwidth=2, tabs=False, extralines=False, lineends=keep, "
       "check=True)\n"},
  };
  for (const auto& [options, line] : cases) {
    FolderWithInput folder;
    std::vector<std::string> arguments = options;
    arguments.push_back(folder.input);
    const RunResult run = RunDriver(arguments);
    EXPECT_NE(run.console.find("...done!\n" + line + "Parsing..."), std::string::npos)
        << run.console;
  }
}

}  // namespace
}  // namespace vemra
