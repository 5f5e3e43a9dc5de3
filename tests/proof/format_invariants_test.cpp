// The promises of every formatting run, checked on the examples, on the fuzz
// corpus (which holds every input that once broke one) and on a corpus of
// generated programs, under every combination of options.
#include "fuzz/format_invariants.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/program_generator.h"
#include "bench/program_kinds.h"

namespace vemra {
namespace {

namespace fs = std::filesystem;

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

// Every option combination that changes how a text comes out.
std::vector<FormatOptions> AllOptionSets() {
  std::vector<FormatOptions> sets;
  for (std::int32_t tab_width : {-1, 0, 1, 2, 8}) {
    for (bool use_tabs : {false, true}) {
      for (bool collapse : {false, true}) {
        for (LineEnding ending : {LineEnding::kCrLf, LineEnding::kLf}) {
          sets.push_back({tab_width, use_tabs, collapse, ending});
        }
      }
    }
  }
  return sets;
}

std::string Describe(const FormatOptions& options) {
  return "tabwidth=" + std::to_string(options.TabWidth) +
         " tabs=" + std::to_string(options.UseTabs) +
         " collapse=" + std::to_string(options.CollapseBlankLines) +
         (options.line_ending == LineEnding::kLf ? " lf" : " crlf");
}

void ExpectPromisesKept(const std::string& name, const std::string& bytes) {
  for (const FormatOptions& options : AllOptionSets()) {
    EXPECT_EQ(CheckFormatInvariants(bytes, options), "") << name << " with " << Describe(options);
  }
}

TEST(FormatPromises, HoldForEveryExample) {
  const auto files = FilesIn(fs::path(VEMRA_SOURCE_DIR) / "examples");
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) ExpectPromisesKept(file.string(), ReadFileBytes(file));
}

TEST(FormatPromises, HoldForTheFuzzCorpus) {
  for (const fs::path& file : FilesIn(fs::path(VEMRA_SOURCE_DIR) / "fuzz" / "corpus")) {
    const std::string bytes = ReadFileBytes(file);
    // The format target reads its options from the first two bytes; here
    // every combination is tried on the whole input instead.
    ExpectPromisesKept(file.string(), bytes);
  }
}

TEST(FormatPromises, HoldForTenThousandGeneratedPrograms) {
  const std::vector<FormatOptions> option_sets = AllOptionSets();
  for (std::uint64_t seed = 1; seed <= 10000; ++seed) {
    const std::string program = GenerateProgram(seed, 200 + seed % 3000);
    const FormatOptions& options = option_sets[seed % option_sets.size()];
    ASSERT_EQ(CheckFormatInvariants(program, options), "")
        << "generated program " << seed << " with " << Describe(options);
  }
}

TEST(FormatPromises, HoldForAThousandProgramsOfEveryKindUnderEveryOptionSet) {
  const std::vector<FormatOptions> option_sets = AllOptionSets();
  for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
    const std::string program = GenerateProgramOfKind(seed);
    for (const FormatOptions& options : option_sets) {
      ASSERT_EQ(CheckFormatInvariants(program, options), "")
          << "program " << seed << " of kind " << seed % 3 << " with " << Describe(options);
    }
  }
}

// Texts that one run once left to change again: markers that remove a line
// break, the token an accessor tests ending in blanks that trimming takes,
// and blocks, comments and literals still open at the end.
TEST(FormatPromises, HoldWhereOneRunOnceLeftTheTextToChange) {
  const char* const texts[] = {
      "a #id\r\nb",
      "#id #id\r\nb",
      "#ID\tq #id\r\n",
      "if\x01#id'\r\n",
      "#id #id //c\r\ny",
      "#id /* a\r\nb */ x",
      "read #id\r\nx\r\n",
      "write #id\r\n#id\r\nx",
      "read x // a$ \r\n",
      "WRITE x \"a$ \r\n",
      "read write x // a \r\n",
      "read \x01\r\n",
      "proc A()\r\n  x\r\n",
      "x = 'open",
      "/* open\r\n",
      "{ a\r\n\r\n",
  };
  for (const char* text : texts) ExpectPromisesKept(text, text);
}

// Regions whose lines are saved as they stood: notes of the layout inside
// them, markers that remove line ends at their edges, regions that a
// comment or literal swallows, and marker words a TAB or trimming makes.
TEST(FormatPromises, HoldForTextsWithRegions) {
  const std::string texts[] = {
      "// vemrafmt: off\r\nread #id\r\nx\r\n// vemrafmt: on\r\ny\r\n",
      "proc A()\r\n// vemrafmt: off\r\nx #id #id\r\n",
      "// vemrafmt: off\r\n a \r\nx #id #id\r\n// vemrafmt: on\r\n",
      "// vemrafmt: off\r\n/* a\r\n\tb */ // vemrafmt: on\r\n",
      "read x // vemrafmt: off\r\n  y  \r\n// vemrafmt: on\r\n  z  \r\n",
      "//vemrafmt:\toff\r\n  x  \r\n",
      "// vemrafmt: off\x01\r\n  x  \r\n",
      "{ // vemrafmt: off\r\n}\r\n a \r\n",
      std::string("// vemrafmt: off\r\n\0 \r\n// vemrafmt: on", 36),
      "x = 'a\r\n// vemrafmt: off\r\n b'\r\n  c  \r\n",
      "// vemrafmt: off\r\n'open\r\n// vemrafmt: on\r\n  x  \r\n",
      "#id\r\n// vemrafmt: off\r\n  a  \r\n",
      "// vemrafmt: off\r\nx\r\n#id // vemrafmt: on\r\n  y  \r\n",
      "\r// vemrafmt: off\r  a  \r// vemrafmt: on\r",
      "proc A()\n// vemrafmt: off\n  end\n\n\n// vemrafmt: on\nend\n",
      "write\r\n// vemrafmt: off\r\n#id\r\nx\r\n// vemrafmt: on\r\n",
  };
  for (const std::string& text : texts) ExpectPromisesKept(text, text);
}

TEST(FormatPromises, MeaningfulTokensIgnoreOnlyLayoutBytes) {
  EXPECT_EQ(MeaningfulTokens("a  =\tb\r\n"), (std::vector<std::string>{"a", "=", "b"}));
  EXPECT_EQ(MeaningfulTokens("'x \t y'"), (std::vector<std::string>{"'xy'"}));
  EXPECT_NE(MeaningfulTokens("a+ +b"), MeaningfulTokens("a++b"));
}

}  // namespace
}  // namespace vemra
