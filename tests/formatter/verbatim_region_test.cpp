// Regions fenced off by "// vemrafmt: off" and "// vemrafmt: on": their
// lines are saved as they stood, and everything around them as if they had
// been formatted.
#include <random>

#include "base/line_ending.h"
#include "bench/program_generator.h"
#include "formatter/verbatim_regions.h"
#include "tests/formatter/layout_cases.h"
#include "textutil/replace_all.h"

namespace vemra {
namespace {

const FormatOptions kDefault{2, false, true};

std::string WithLineEnd(std::string text, LineEnding ending) {
  if (ending == LineEnding::kLf) ReplaceAll(text, "\r\n", "\n");
  return text;
}

TEST(VerbatimRegion, LinesInsideStayByteForByte) {
  struct Case {
    std::string name;
    std::string source;
    FormatOptions options;
    std::string saved;  // with CR LF; the LF run gives it with LF
  };
  const std::string nul(1, '\0');
  const Case cases[] = {
      {"blanks, TABs, trailing blanks and empty lines",
       "proc A()\r\nx=1\r\n// vemrafmt: off\r\n  a   =   1   \r\n\tb=2\t\r\n\r\n\r\n\r\n"
       "// vemrafmt: on\r\ny=2\r\nend\r\n",
       kDefault,
       "proc A()\r\n  x = 1\r\n  // vemrafmt: off\r\n  a   =   1   \r\n\tb=2\t\r\n\r\n\r\n\r\n"
       "  // vemrafmt: on\r\n  y = 2\r\nend\r\n"},
      {"TABs stay whatever the TAB options",
       "// vemrafmt: off\r\n\tx\t\r\n// vemrafmt: on\r\n\ty\r\n", FormatOptions{0, false, false},
       "// vemrafmt: off\r\n\tx\t\r\n// vemrafmt: on\r\ny\r\n"},
      {"every input line end becomes the chosen one",
       "// vemrafmt: off\na \rb \r\n\n\r// vemrafmt: on\nx\n", kDefault,
       "// vemrafmt: off\r\na \r\nb \r\n\r\n\r\n// vemrafmt: on\r\nx\r\n"},
      {"NUL and control bytes", "// vemrafmt: off\r\n" + nul + " a" + nul + " \x01\r\n", kDefault,
       "// vemrafmt: off\r\n" + nul + " a" + nul + " \x01\r\n"},
      {"unclosed: to the end, and no empty line for the open block",
       "proc A()\r\n// vemrafmt: off\r\n x \r\n\r\n\r\n", kDefault,
       "proc A()\r\n  // vemrafmt: off\r\n x \r\n\r\n\r\n"},
      {"the last line without a line end", "// vemrafmt: off\r\n  x  ", kDefault,
       "// vemrafmt: off\r\n  x  \r\n"},
      {"\"off\" on the last line", "x\r\n  // VEMRAFMT: OFF", kDefault,
       "x\r\n// VEMRAFMT: OFF\r\n"},
      {"a second \"off\" is an ordinary comment",
       "// vemrafmt: off\r\n a \r\n// vemrafmt: off\r\n b \r\n// vemrafmt: on\r\n c \r\n", kDefault,
       "// vemrafmt: off\r\n a \r\n// vemrafmt: off\r\n b \r\n// vemrafmt: on\r\nc\r\n"},
      {"markers with other letter case and blanks",
       "x\r\n//\t VemraFmt: Off  \r\n  a  \r\n   //VEMRAFMT: ON\t\r\n  b  \r\n", kDefault,
       "x\r\n//   VemraFmt: Off\r\n  a  \r\n//VEMRAFMT: ON\r\nb\r\n"},
      {"\"#id\" markers inside stay, outside they go",
       "// vemrafmt: off\r\nx = #id 5 y\r\n// vemrafmt: on\r\nz #id 7\r\n", kDefault,
       "// vemrafmt: off\r\nx = #id 5 y\r\n// vemrafmt: on\r\nz\r\n"},
      {"a line end removed in front of \"on\" joins its line to the \"on\" line",
       "// vemrafmt: off\r\n a \r\nx  #id #id\r\n// vemrafmt: on\r\n", kDefault,
       "// vemrafmt: off\r\n a \r\nx // vemrafmt: on\r\n"},
      {"\"on\" on a line a comment started inside the region",
       "// vemrafmt: off\r\n/*  a  \r\n\tb */ // vemrafmt: on\r\n  x\r\n", kDefault,
       "// vemrafmt: off\r\n/*  a  \r\n  b */ // vemrafmt: on\r\nx\r\n"},
      {"a byte-order mark in front", "\xEF\xBB\xBF// vemrafmt: off\r\n  x  \r\n", kDefault,
       "\xEF\xBB\xBF// vemrafmt: off\r\n  x  \r\n"},
      {"an empty region", "// vemrafmt: off\r\n// vemrafmt: on\r\n  x\r\n", kDefault,
       "// vemrafmt: off\r\n// vemrafmt: on\r\nx\r\n"},
  };
  for (const Case& c : cases) {
    for (const LineEnding ending : {LineEnding::kCrLf, LineEnding::kLf}) {
      FormatOptions options = c.options;
      options.line_ending = ending;
      EXPECT_EQ(ToNotation(FormatFileBytes(c.source, options)),
                ToNotation(WithLineEnd(c.saved, ending)))
          << c.name;
      EXPECT_EQ(CheckFormatInvariants(c.source, options), "") << c.name;
    }
  }
}

// The marker words where they are no markers: the text formats exactly as
// with other words there.
TEST(VerbatimRegion, WordsThatAreNoMarkersChangeNothing) {
  const char* const texts[] = {
      "// vemrafmt: on\r\n  x  =  1  \r\n",
      "/* vemrafmt: off */\r\n  x  =  1\r\n",
      "s = '// vemrafmt: off'\r\n  x  =  1\r\n",
      "s = \"// vemrafmt: off\"\r\n  x  =  1\r\n",
      "{ // vemrafmt: off\r\n  a  }\r\n  x  =  1\r\n",
      "// vemrafmt: off now\r\n  x  =  1\r\n",
      "#id // vemrafmt: off\r\n  x  =  1\r\n",
      "x = 1 // vemrafmt: off // vemrafmt: on\r\n  y  \r\n",
  };
  for (const char* text : texts) {
    std::string neutral = text;
    ReplaceAll(neutral, "vemrafmt", "vemrafmx");
    std::string expected = FormatFileBytes(neutral, kDefault);
    ReplaceAll(expected, "vemrafmx", "vemrafmt");
    EXPECT_EQ(ToNotation(FormatFileBytes(text, kDefault)), ToNotation(expected)) << text;
  }
}

// The lines of text, each without its line end.
std::vector<std::string> LinesOf(std::string_view text, LineEnding ending) {
  std::vector<std::string> lines;
  const std::string_view end = LineEndBytes(ending);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t stop = text.find(end, at);
    lines.emplace_back(text.substr(at, stop - at));
    at = stop + end.size();
  }
  return lines;
}

// The index of the first line at or after from that ends in the comment.
std::size_t LineOfComment(const std::vector<std::string>& lines, std::size_t from,
                          std::string_view comment) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (lines[i].ends_with(comment)) return i;
  }
  return lines.size();
}

// A text holding one region, its markers each ending a line: it formats
// as the same text with other words in the markers, but for the region's
// lines, which stay as they stood. So the lines after the region stand
// where formatting the region would have put them.
void ExpectRegionFormatsAsIfFormatted(std::string_view text, const FormatOptions& options) {
  constexpr std::string_view kOff = "// vemrafmt: off\r\n";
  constexpr std::string_view kOn = "// vemrafmt: on\r\n";
  const std::size_t region_begin = text.find(kOff) + kOff.size();
  const std::size_t on_at = text.find(kOn, region_begin);
  const std::string_view region = text.substr(region_begin, on_at - region_begin);

  std::string neutral(text);
  ReplaceAll(neutral, "vemrafmt", "vemrafmx");
  const std::vector<std::string> formatted =
      LinesOf(FormatFileBytes(neutral, options), options.line_ending);
  const std::size_t off_line = LineOfComment(formatted, 0, "// vemrafmx: off");
  const std::size_t on_line = LineOfComment(formatted, off_line + 1, "// vemrafmx: on");
  ASSERT_LT(off_line, formatted.size()) << text;

  std::string expected;
  const std::string_view end = LineEndBytes(options.line_ending);
  for (std::size_t i = 0; i <= off_line; ++i) expected.append(formatted[i]).append(end);
  ForEachLine(region, [&](std::string_view line) { expected.append(line).append(end); });
  for (std::size_t i = on_line; i < formatted.size(); ++i)
    expected.append(formatted[i]).append(end);
  ReplaceAll(expected, "vemrafmx", "vemrafmt");
  ASSERT_EQ(ToNotation(FormatFileBytes(text, options)), ToNotation(expected)) << text;
}

TEST(VerbatimRegion, WhatFollowsIsLaidOutAsIfTheRegionWereFormatted) {
  const char* const texts[] = {
      // Blocks opened and closed inside the region.
      "proc A()\r\n// vemrafmt: off\r\nwhile x\r\n  if y\r\n// vemrafmt: "
      "on\r\nz\r\nend\r\nend\r\nend\r\n",
      "proc A()\r\nwhile x\r\n// vemrafmt: off\r\n   end\r\n end\r\n// vemrafmt: on\r\nz\r\n",
      // A "case" block whose labels stand in the region.
      "case x\r\n// vemrafmt: off\r\n1:\r\n  y\r\n// vemrafmt: on\r\n2:\r\nz\r\nend\r\nw\r\n",
      // The count after "read" runs over the region's end.
      "property P\r\n// vemrafmt: off\r\nread\r\n// vemrafmt: on\r\nreturn n\r\nend\r\n",
      // "forward" in the region spares the routine after it.
      "// vemrafmt: off\r\nforward\r\n// vemrafmt: on\r\nproc A()\r\nx\r\n",
      // "#define" and "else if" around the region's ends.
      "#define X -1 // vemrafmt: off\r\nif a\r\nb\r\n// vemrafmt: on\r\nelse if c\r\nd\r\nend\r\n",
      // A comment left open in the region, closed after it.
      "proc A()\r\n// vemrafmt: off\r\n/* a\r\nb */ x\r\n// vemrafmt: on\r\ny\r\nend\r\n",
  };
  for (const char* text : texts) {
    for (const FormatOptions& options :
         {kDefault, FormatOptions{4, true, false, LineEnding::kLf}}) {
      ExpectRegionFormatsAsIfFormatted(text, options);
      EXPECT_EQ(CheckFormatInvariants(text, options), "") << text;
    }
  }
}

// Generated programs (mixed line ends, markers, multi-line tokens), with a
// region between two of their line ends.
TEST(VerbatimRegion, GeneratedProgramsWithARegionFormatAsIfItWereFormatted) {
  std::mt19937_64 random(20261207);
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    TStringList list;
    list.AssignText(GenerateProgram(seed, 300 + seed * 53 % 3000));
    const std::string program = list.ReadText();
    // Line starts outside any token: behind the LF tokens of line ends.
    std::vector<std::size_t> line_starts;
    for (const std::string_view token : CutTokens(program)) {
      if (token == "\n")
        line_starts.push_back(static_cast<std::size_t>(token.data() - program.data()) + 1);
    }
    if (line_starts.size() < 2) continue;
    std::size_t first = line_starts[random() % line_starts.size()];
    std::size_t second = line_starts[random() % line_starts.size()];
    if (first > second) std::swap(first, second);
    const std::string text = program.substr(0, first) + "// vemrafmt: off\r\n" +
                             program.substr(first, second - first) + "// vemrafmt: on\r\n" +
                             program.substr(second);
    const FormatOptions options{static_cast<std::int32_t>(seed % 4), seed % 3 == 0, seed % 2 == 0,
                                seed % 5 == 0 ? LineEnding::kLf : LineEnding::kCrLf};
    ExpectRegionFormatsAsIfFormatted(text, options);
    ASSERT_EQ(CheckFormatInvariants(text, options), "") << "program " << seed;
  }
}

TEST(KeptLineStart, IsBehindTheLastLineEndTheLayoutKeeps) {
  struct Case {
    const char* source;
    const char* token;  // the first occurrence in source
    std::size_t line_start;
  };
  const Case cases[] = {
      {"a\r\nb\r\nc", "c", 6},
      {"a\nb\rc", "c", 4},
      {"a c", "c", 0},
      {"a #id\r\nc", "c", 7},      // the CR goes, the LF stays
      {"a #id #id\r\nc", "c", 0},  // both go: c joins a's line
      {"/* a\r\nb */ c", "c", 6},  // behind the comment's own line end
      {"#id /* a\r\nb */ c", "c", 0},
      {"'x\r\n' 'y\n\r' c", "c", 10},  // LF CR: two line ends
  };
  for (const Case& c : cases) {
    const std::string_view source = c.source;
    EXPECT_EQ(KeptLineStart(source, 0, source.find(c.token)), c.line_start) << c.source;
  }
}

}  // namespace
}  // namespace vemra
