// The table cutter cuts exactly the tokens of the plain rules, whatever the
// text, the shape of its walk and the room it is given: on the rules' edge
// cases, the examples, the fuzz corpus, generated programs, hostile shapes
// and random bytes.
#include "formatter/table_cutter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/hostile_inputs.h"
#include "bench/program_generator.h"
#include "fuzz/cut_comparison.h"

namespace vemra {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// The default walk, one lane, and walks so short and split so finely that
// nearly every byte sits near a stretch's end or a guessed lane start.
const CutterShape kShapes[] = {
    {}, {1, 1024, 64 * 1024}, {4, 1, 7}, {4, 8, 97}, {3, 1, 40}, {2, 16, 4096},
};

void ExpectSameCut(const std::string& name, std::string_view text) {
  for (const CutterShape& shape : kShapes) {
    for (std::size_t room : {std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
      const std::string difference = CompareWithPlainCut(text, shape, room);
      ASSERT_EQ(difference, "") << name;
    }
  }
}

std::string Repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(TableCutter, CutsTheRulesEdgeCasesAsThePlainRules) {
  const std::vector<std::string> texts = {
      "",
      " ",
      "\t \t",
      "a",
      "a-1",
      "x:=y",
      "a::b",
      "a :: b",
      "Foo::",
      "label:",
      "label:\r\n",
      "a:",
      "a: ",
      "a:$",
      "a::$x",
      "case 1:",
      "1e-5",
      "1-2",
      "0xE-1",
      ".5e-3",
      "1e+5e-5",
      "1E+-2",
      "#1F",
      "#define",
      "#debug2",
      "# define",
      "#",
      "#\r\n",
      "#0x1Fg",
      "#ID 7 x",
      "#id\r\ny",
      "#id\ry",
      "#id\ny",
      "#id #id\r\ny",
      "#idx 5",
      "#id42 x",
      "#id a: b",
      "#id a:",
      "#id",
      "x #id",
      "//c\r\n",
      "//c\n",
      "//c\rx",
      "//",
      "/*a*/b",
      "/* a /* b */ c */",
      "/*",
      "/*/",
      "/**/",
      "/* *\r\n*/",
      "/=",
      "/",
      "{a{b}c}d",
      "{a",
      "}",
      "{}}",
      "&=",
      "&&",
      "&x",
      "& x",
      "|=",
      "||",
      "^^=",
      "|&=",
      "~=",
      "<<=",
      "=>",
      "!==",
      "<>",
      ">>=",
      "++",
      "+-",
      "--",
      "-=",
      "*=",
      "**",
      "name$x",
      "count%",
      "a.b.c",
      "a#b",
      "\\a\\b",
      "'it''s'",
      "'open\r\nx",
      "\"a\\\"b\"",
      "\"ab\r\n",
      "\"ab\\\r\n",
      "\"ab\\\n",
      "\"ab\n\"",
      "\"a\\",
      "@@x",
      "@",
      "\x8B"
      "a b\x9B"
      "c",
      "\x8B"
      "open",
      "\x9B",
      "\x80\xFF\x8B\x9B",
      "a\x80"
      "b",
      "\0a\0"s,
      "\r\n",
      "\r\r\n\n",
      "\n\r",
      "a\rb\nc\r\nd",
      "\r\n  \t\r\n",
      "x \r\n",
      "x//\r\ny",
  };
  for (const std::string& text : texts) ExpectSameCut('"' + text + '"', text);
}

TEST(TableCutter, CountsBraceLevelsAndCutsDeeperGroupsByThePlainRule) {
  for (std::size_t depth : {1, 2, 35, 36, 37, 100, 5000}) {
    const std::string open(depth, '{');
    const std::string close(depth, '}');
    for (const std::string& text : {open + close + "x", open + "a\r\n" + close + "\r\n" + open,
                                    "x " + open + close + close + " {y}" + open + close}) {
      ExpectSameCut("braces " + std::to_string(depth), text);
    }
  }
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(TableCutter, CutsTheExamplesAndTheFuzzCorpusAsThePlainRules) {
  std::size_t files = 0;
  for (const char* folder : {"examples", "fuzz/corpus"}) {
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(VEMRA_SOURCE_DIR) / folder)) {
      if (!entry.is_regular_file()) continue;
      ExpectSameCut(entry.path().string(), ReadFileBytes(entry.path()));
      ++files;
    }
  }
  EXPECT_GT(files, 100u);
}

TEST(TableCutter, CutsGeneratedProgramsAsThePlainRules) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    ExpectSameCut("program " + std::to_string(seed), GenerateProgram(seed, 100 + seed * 40));
  }
  // Longer than a default stretch, so that its lanes are guessed too.
  const std::string large = GenerateProgram(7, 600'000);
  EXPECT_EQ(CompareWithPlainCut(large, {}, 4096), "");
  EXPECT_EQ(CompareWithPlainCut(large, {4, 64, 1500}, 4096), "");
}

TEST(TableCutter, CutsHostileShapesAsThePlainRules) {
  // Appended rather than joined with "+", which GCC 12 warns about here
  // for no reason.
  std::string open_quote = "'";
  open_quote += Repeated("x\r\n", 30000);
  const std::vector<std::pair<std::string, std::string>> shapes = {
      {"empty lines", EmptyLines(3000)},
      {"colon pairs", ColonPairsLine(20000)},
      {"nested blocks", NestedWhileBlocks(60)},
      {"case blocks", CaseBlocksOnOneLine(300)},
      {"markers", MarkersOnly(20000)},
      {"block comment", OneBlockComment(200000)},
      {"no blanks", LineWithoutBlanks(20000)},
      // Guesses that cannot agree for long: literals and comments that
      // cross every lane start.
      {"quotes", Repeated("'a\r\nb'c\r\n", 3000)},
      {"open quote", open_quote},
      {"comments", Repeated("/* a\r\n*/ b\r\n", 3000)},
      {"deep braces", Repeated(std::string(40, '{') + "\r\n" + std::string(40, '}'), 2000)},
  };
  for (const auto& [name, text] : shapes) {
    for (const CutterShape& shape : {CutterShape{}, CutterShape{4, 16, 3000}}) {
      EXPECT_EQ(CompareWithPlainCut(text, shape, 500), "") << name;
    }
  }
}

// Pieces that open, close or join constructs, so that random texts hit the
// rules' boundaries far more often than uniform bytes would.
const std::vector<std::string> kPieces = {
    "#id", "#ID", " ",  "\t", "\r\n", "\r",  "\n",   "/*",   "*/",   "//",   "/",
    "*",   "{",   "}",  "'",  "\"",   "\\",  ":",    "::",   "$",    "%",    "e-",
    "E+",  "0x",  "1",  "a",  "_",    ".",   "&",    "#",    "\x8B", "\x9B", "@",
    "|=",  "<<",  "!=", "++", "~",    "\0"s, "\x80", "\xFF", "{{{{", "}}}}"};

TEST(TableCutter, CutsRandomTextsAsThePlainRules) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 400);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string pieces;
    std::string bytes;
    for (std::size_t size = length(rng); pieces.size() < size;) pieces += kPieces[piece(rng)];
    for (std::size_t size = length(rng); bytes.size() < size;) bytes += char(byte(rng));
    ExpectSameCut("pieces " + std::to_string(round), pieces);
    ExpectSameCut("bytes " + std::to_string(round), bytes);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace vemra
