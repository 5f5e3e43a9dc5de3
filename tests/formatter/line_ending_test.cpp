// The line end a run writes: LF gives the same lines as CR LF, every line
// ending in LF instead.
#include "base/line_ending.h"

#include <filesystem>

#include "base/read_whole_file.h"
#include "bench/program_generator.h"
#include "tests/formatter/layout_cases.h"
#include "textutil/replace_all.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

// The examples, and generated programs of every shape the generator makes
// (mixed line ends, markers that remove line ends, a last line without one).
std::vector<std::pair<std::string, std::string>> Programs() {
  std::vector<std::pair<std::string, std::string>> programs;
  for (const auto& entry : fs::directory_iterator(fs::path(VEMRA_SOURCE_DIR) / "examples")) {
    LoadedFile loaded;
    programs.emplace_back(entry.path().filename().string(),
                          ReadWholeFile(entry.path().string(), loaded));
  }
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    programs.emplace_back("generated " + std::to_string(seed),
                          GenerateProgram(seed, 100 + seed * 97 % 5000));
  }
  programs.emplace_back("markers that remove line ends", "proc A()\nx #id #id\r\nread #id\ny");
  programs.emplace_back("empty", "");
  return programs;
}

TEST(LineEnding, LfGivesTheCrLfTextWithEveryCrLfMadeLf) {
  const FormatOptions option_sets[] = {{2, false, true}, {0, false, false}, {4, true, true}};
  for (const auto& [name, program] : Programs()) {
    for (const FormatOptions& crlf : option_sets) {
      FormatOptions lf = crlf;
      lf.line_ending = LineEnding::kLf;
      std::string expected = FormatFileBytes(program, crlf);
      ReplaceAll(expected, "\r\n", "\n");
      EXPECT_EQ(FormatFileBytes(program, lf), expected) << name;
    }
  }
}

// The lines of a text too large for CR LF come as LF; the list adds the
// CR where CR LF is chosen, and takes LF lines as they are.
TEST(LineEnding, FinishedLinesOfEitherLineEndAreWrittenWithTheChosenOne) {
  for (const LineEnding finished : {LineEnding::kCrLf, LineEnding::kLf}) {
    for (const LineEnding chosen : {LineEnding::kCrLf, LineEnding::kLf}) {
      std::string text = "a\r\n\r\nb\r\n";
      if (finished == LineEnding::kLf) ReplaceAll(text, "\r\n", "\n");
      TStringList lines;
      AdoptFinishedLines(lines, {text, finished}, chosen);
      const std::string end(LineEndBytes(chosen));
      EXPECT_EQ(lines.ReadText(), "a" + end + end + "b" + end);
      EXPECT_EQ(lines.LineCount(), 3);
    }
  }
}

}  // namespace
}  // namespace vemra
