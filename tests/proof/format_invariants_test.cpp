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
      for (bool collapse : {false, true}) sets.push_back({tab_width, use_tabs, collapse});
    }
  }
  return sets;
}

std::string Describe(const FormatOptions& options) {
  return "tabwidth=" + std::to_string(options.TabWidth) +
         " tabs=" + std::to_string(options.UseTabs) +
         " collapse=" + std::to_string(options.CollapseBlankLines);
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

// The checker itself must see a broken promise: a text that a second run
// would change is caught, and so is a lost token.
TEST(FormatPromises, MarkersThatRemoveLineBreaksAreRecognised) {
  struct Case {
    const char* text;
    bool removes_line_break;
  };
  const Case cases[] = {
      {"a #id\r\nb", true},           {"#id #id\r\nb", true},
      {"#id x\r\n", false},           {"#idx\r\n", false},
      {"#ID\tq #id\r\n", true},       {"a#id\r\n", false},
      {"'#id'\r\n", false},           {"#id", false},
      {"x #Id //c\r\n", false},       {"#id #id //c\r\ny", true},
      {"if\x01#id'\r\n", true},       {"#id /* a\r\nb */ x", true},
      {"#id /* a b */ x\r\n", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MarkerRemovesLineBreak(c.text), c.removes_line_break) << c.text;
  }
}

// A run trims the blanks a comment or an unclosed literal ends in; when
// that token is the one whose last byte decides an accessor's level, the
// next run may lay the rest out differently.
TEST(FormatPromises, AccessedTokensEndingInBlanksAreRecognised) {
  struct Case {
    const char* text;
    bool ends_in_blank;
  };
  const Case cases[] = {
      {"read x // a$ \r\n", true},    {"read x // a$\r\n", false},
      {"WRITE x \"a$ \r\n", true},    {"read x y // a \r\n", false},
      {"read // a \r\n", false},      {"x // read y // z \r\n", false},
      {"read x\r\n// a \r\n", false}, {"read write x // a \r\n", true},
      {"read \x01\r\n", true},        {"read x y \x01\r\n", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccessedTokenEndsInBlank(c.text), c.ends_in_blank) << c.text;
  }
  // The run that decides differently: trimming "$ " to "$" opens no level.
  const FormatOptions options;
  const std::string once = FormatFileBytes("proc A()\r\nread x // a$ \r\ny\r\nend\r\n", options);
  EXPECT_NE(FormatFileBytes(once, options), once);
}

TEST(FormatPromises, MeaningfulTokensIgnoreOnlyLayoutBytes) {
  EXPECT_EQ(MeaningfulTokens("a  =\tb\r\n"), (std::vector<std::string>{"a", "=", "b"}));
  EXPECT_EQ(MeaningfulTokens("'x \t y'"), (std::vector<std::string>{"'xy'"}));
  EXPECT_NE(MeaningfulTokens("a+ +b"), MeaningfulTokens("a++b"));
}

}  // namespace
}  // namespace vemra
