#include "bench/program_generator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "bench/random_source.h"

namespace vemra {
namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

// A directive counts only as a whole word: "#debug" is not found in "#debugon".
bool ContainsDirective(const std::string& text, std::string_view directive) {
  for (std::size_t at = text.find(directive); at != std::string::npos;
       at = text.find(directive, at + 1)) {
    std::size_t after = at + directive.size();
    if (after == text.size() ||
        !(std::isalpha(static_cast<unsigned char>(text[after])) || text[after] == '_')) {
      return true;
    }
  }
  return false;
}

// Programs must be the same on every platform: the sequence is the published
// one of splitmix64 for seed 0.
TEST(RandomSourceTest, FollowsTheSplitmixSequence) {
  RandomSource random(0);
  EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFULL);
  EXPECT_EQ(random.Next(), 0x6E789E6AA1B965F4ULL);
  EXPECT_EQ(random.Next(), 0x06C45D188009454FULL);
}

TEST(ProgramGeneratorTest, SameSeedGivesSameBytes) {
  EXPECT_EQ(GenerateProgram(7, 20000), GenerateProgram(7, 20000));
  EXPECT_NE(GenerateProgram(7, 20000), GenerateProgram(8, 20000));
}

TEST(ProgramGeneratorTest, SizeFollowsTheRequest) {
  EXPECT_EQ(GenerateProgram(1, 0), "");
  const std::size_t sizes[] = {1, 100, 1000, 4096, 65536, 1 << 20};
  for (std::size_t size : sizes) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
      std::size_t got = GenerateProgram(seed, size).size();
      // The last line end may be left off; the item in progress is finished.
      EXPECT_GE(got + 2, size) << "seed " << seed << " size " << size;
      EXPECT_LE(got, size + 4096) << "seed " << seed << " size " << size;
    }
  }
}

// Every construct the formatter has a rule for turns up in a modest corpus
// of small programs, which is what the corpus tests are built from.
TEST(ProgramGeneratorTest, SmallProgramsCoverEveryConstruct) {
  std::string corpus;
  for (std::uint64_t seed = 1; seed <= 60; ++seed) corpus += GenerateProgram(seed, 4000);
  const std::string lowered = Lowered(corpus);
  const std::string_view needles[] = {
      // routines, declarations and classes
      "proc ", "func ", "nproc ", "nfunc ", "forward", "inline", "event ", "property ", "read",
      "write(", "return", "#class", "#endclass", "#object", "#inherited",
      // blocks
      "while ", "repeat", "until ", "foreach ", "foreachrev ", "for i% = 1 to", "try", "except",
      "finally", "using ", "if ", "else if ", "else", "case ", "end", "again:", "'a':", "1:",
      // directives
      "#import", "#include", "#define", "#declare", "#ifdef", "#ifndef", "#else", "#endif",
      "#library", "#globals", "#locals", "#declareapi", "#debug", "#link", "#noppc", "#c_declare",
      "#c_declareapi", "#debugfile", "#debugon", "#debugoff", "#namespace", "#endnamespace",
      // comments, literals, groups, markers
      "//", "/*", "*/", "'", "\\\"", "{", "\x8b", "\x9b", "#13#10", "#id",
      // operators
      "++", "--", "&=", "|=", "^=", "::", "<<", ">>", "<>", "!=", "==", "<=", ">=", "~", "@", "@@",
      "%", "$", "?", "||", "^^", "|&", "*=", "/=", "+=", "-=", ":=", "&&", " and ", " or ", " xor ",
      " div ", " mod ", "not ", "[", "]", ";"};
  for (std::string_view needle : needles) {
    EXPECT_TRUE(needle.front() == '#' ? ContainsDirective(lowered, needle)
                                      : lowered.find(needle) != std::string::npos)
        << "missing: " << needle;
  }
}

TEST(ProgramGeneratorTest, LayoutIsMessy) {
  const std::string program = GenerateProgram(3, 200000);
  std::size_t crlf = 0, lone_lf = 0, lone_cr = 0;
  for (std::size_t i = 0; i < program.size(); ++i) {
    if (program[i] == '\r') {
      bool pair = i + 1 < program.size() && program[i + 1] == '\n';
      pair ? ++crlf : ++lone_cr;
      i += pair ? 1 : 0;
    } else if (program[i] == '\n') {
      ++lone_lf;
    }
  }
  EXPECT_GT(crlf, 0u);
  EXPECT_GT(lone_lf, 0u);
  EXPECT_GT(lone_cr, 0u);
  EXPECT_NE(program.find("\n\t"), std::string::npos);
  EXPECT_NE(program.find(" \r"), std::string::npos);  // trailing blanks
  std::string corpus;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) corpus += GenerateProgram(seed, 20000);
  EXPECT_NE(corpus.find("WHILE"), std::string::npos);
  EXPECT_NE(corpus.find("End"), std::string::npos);
}

// Multi-line tokens keep their own line breaks: a single-quoted literal or a
// block comment that spans lines is present.
TEST(ProgramGeneratorTest, SomeTokensSpanLines) {
  const std::string program = GenerateProgram(11, 100000);
  auto spans_lines = [&](char open, std::string_view close) {
    for (std::size_t at = program.find(open); at != std::string::npos;
         at = program.find(open, at + 1)) {
      std::size_t end = program.find(close, at + 1);
      if (end == std::string::npos) return false;
      if (program.find_first_of("\r\n", at) < end) return true;
    }
    return false;
  };
  EXPECT_TRUE(spans_lines('\x8b', "\x9b") || spans_lines('/', "*/"));
  EXPECT_NE(program.find("/*\r"), std::string::npos);
}

}  // namespace
}  // namespace vemra
