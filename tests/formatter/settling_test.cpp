// A run saves the text one more run would leave as it is: the layout notes
// what could change on the next pass, and such a text is formatted again.
#include <algorithm>
#include <functional>

#include "base/failures.h"
#include "formatter/settled_lines.h"
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

const FormatOptions kCollapsed{2, false, true};
const FormatOptions kEmptyLinesKept{2, false, false};

TEST(Settling, EveryKindOfUnsettledTextIsSavedSettled) {
  struct Case {
    const char* source;
    FormatOptions options;
    const char* saved;
  };
  const Case cases[] = {
      // A marker takes the CR of "read"'s line: the line end stays, and
      // the count after "read" goes over it as over any other.
      {"property P\r\nread #id\r\nreturn n\r\nend\r\n", kCollapsed,
       "property P\r\nread\r\n  return n\r\nend\r\n"},
      {"write #id\r\n#id\r\nv = 1\r\nend\r\n", kCollapsed, "write\r\n\r\n  v = 1\r\nend\r\n"},
      // A marker takes the last line end while a block is open: the saved
      // text ends its last line again, and the open block's empty line
      // follows, as it does for a text without the marker.
      {"proc A()\r\nx #id #id\r\n", kCollapsed, "proc A()\r\n  x\r\n\r\n"},
      {"proc A()\r\nx #id #id\r\n", kEmptyLinesKept, "proc A()\r\n  x\r\n"},
      {"proc A()\r\nx = 1 #id 'a\r\n", kCollapsed, "proc A()\r\n  x = 1\r\n\r\n"},
      // The token "read" tests ends in "$" once trimmed, and opens no level.
      // The level the first pass opened already left its empty last line,
      // which stays, empty lines kept or collapsed.
      {"proc A()\r\nread x // a$ \r\ny\r\nend\r\n", kCollapsed,
       "proc A()\r\n  read x // a$\r\n  y\r\nend\r\n\r\n"},
      {"proc A()\r\nread x // a$ \r\ny\r\nend\r\n", kEmptyLinesKept,
       "proc A()\r\n  read x // a$\r\n  y\r\nend\r\n\r\n"},
      // One run already left this text settled: its bytes stay those of
      // that run, empty last line included.
      {"write x \"n% \r\n", kEmptyLinesKept, "write x \"n%\r\n\r\n"},
      {"write x \"n% \t\r\nend\r\n", FormatOptions{2, true, true}, "write x \"n%\r\nend\r\n"},
      // With empty lines kept, a block or a token still open at the end
      // adds no empty line; collapsed, it keeps the one it always had.
      {"proc A()\r\n  x = 1\r\n", kEmptyLinesKept, "proc A()\r\n  x = 1\r\n"},
      {"proc A()\r\n  x = 1\r\n\r\n", kEmptyLinesKept, "proc A()\r\n  x = 1\r\n\r\n"},
      {"proc A()\r\n  x = 1\r\n", kCollapsed, "proc A()\r\n  x = 1\r\n\r\n"},
      {"proc A()\r\n/* open", kEmptyLinesKept, "proc A()\r\n  /* open\r\n"},
      {"x = 'open\r\n", FormatOptions{0, false, false}, "x = 'open\r\n"},
      {"{ a\r\n", FormatOptions{4, true, false}, "{ a\r\n"},
      {"proc A()\r\n/* open", kCollapsed, "proc A()\r\n  /* open\r\n\r\n"},
      // A region's lines come to the next pass as they stood: what unsettles
      // a text elsewhere settles it there, and the text's end in a region
      // is the region's own.
      {"// vemrafmt: off\r\nread #id\r\nx\r\n// vemrafmt: on\r\ny\r\n", kCollapsed,
       "// vemrafmt: off\r\nread #id\r\nx\r\n  // vemrafmt: on\r\n  y\r\n\r\n"},
      {"proc A()\r\n// vemrafmt: off\r\nx #id #id\r\n", kCollapsed,
       "proc A()\r\n  // vemrafmt: off\r\nx #id #id\r\n"},
      {"property P\r\nread #id\r\n// vemrafmt: off\r\n  return n \r\n// vemrafmt: on\r\nend\r\n",
       kCollapsed,
       "property P\r\nread\r\n  // vemrafmt: off\r\n  return n \r\n  // vemrafmt: on\r\nend\r\n"},
      {"proc A()\r\nread x // a$ \r\n// vemrafmt: off\r\n  z  \r\n// vemrafmt: on\r\nend\r\n",
       kEmptyLinesKept,
       "proc A()\r\n  read x // a$\r\n  // vemrafmt: off\r\n  z  \r\n  // vemrafmt: "
       "on\r\nend\r\n\r\n"},
  };
  for (const Case& c : cases) {
    const std::string saved = FormatFileBytes(c.source, c.options);
    EXPECT_EQ(ToNotation(saved), ToNotation(c.saved)) << ToNotation(c.source);
    EXPECT_EQ(ToNotation(FormatFileBytes(saved, c.options)), ToNotation(saved))
        << ToNotation(c.source);
  }
}

TEST(Settling, TheLayoutNotesOnlyWhatCanChangeOnTheNextPass) {
  struct Case {
    const char* text;
    bool next_pass_may_differ;
  };
  const Case cases[] = {
      // An LF without its CR while the count after "read" or "write" runs.
      {"read #id\r\nx\r\n", true},
      {"Write #ID\nx\n", true},
      {"read x #id\r\ny\r\n", false},  // the count tests the LF either way
      {"read x y #id\r\nz\r\n", false},
      {"x #id\r\ny\r\n", false},
      {"read #id #id\r\nx\r\n", false},  // CR and LF go: the lines are joined
      {"read\r\n#id\r\nx\r\n", false},   // the count is over at the line's LF
      // The last line end removed while a block is open or the count runs.
      {"proc A()\r\nx #id #id\r\n", true},
      {"proc A()\r\nx #id 'a\r\n", true},
      {"x = read #id #id\r\n", true},
      {"x #id #id\r\n", false},
      {"proc A()\r\nend #id #id\r\n", false},
      {"proc A()\r\nx #id\r\n", false},  // the LF stays
      {"proc A()\r\n'open\r\n", false},  // the token holds the line end
      {"proc A()\r\nx\r\n", false},
      // The tested token ends in "$" or "%" once trimmed.
      {"read x // a$ \r\n", true},
      {"read x \"a%\t\x01\r\n", true},
      {"read x // a$\r\n", false},
      {"read x // a \r\n", false},
      {"read x y // a$ \r\n", false},
      {"read // a$ \r\n", false},
      {"read x /* a$ \r\n", false},  // open to the end: it keeps its line end
      {"read \x01 \x02\r\n", false},
      {"", false},
      // Inside a region a note is dropped: the next pass reads its bytes as
      // this one did. Before the region it stands.
      {"// vemrafmt: off\r\nread #id\r\nx\r\n// vemrafmt: on\r\n", false},
      {"// vemrafmt: off\r\nread x // a$ \r\n", false},
      {"proc A()\r\n// vemrafmt: off\r\nx #id #id\r\n", false},
      {"read #id\r\n// vemrafmt: off\r\nx\r\n// vemrafmt: on\r\n", true},
      {"read #id\r\n// vemrafmt: off\r\nx\r\n", true},
      {"proc A()\r\n// vemrafmt: on\r\nx #id #id\r\n", true},  // no region
  };
  for (const Case& c : cases) {
    for (const Cutting cutting : {Cutting::kInLoop, Cutting::kAhead}) {
      EXPECT_EQ(LayOutLines(c.text, {}, TrailingBytes::kTrimmed, cutting).next_pass_may_differ,
                c.next_pass_may_differ)
          << ToNotation(c.text);
    }
  }
}

TEST(Settling, LinesCompareWhateverTheirLineEnds) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"", "", true},
      {"a\r\nb\r\n", "a\nb\n", true},
      {"a\rb", "a\nb\r\n", true},
      {"a", "a\r\n", true},
      {"", "\r\n", false},
      {"a\r\n", "a\r\n\r\n", false},
      {"a\r\n", "b\r\n", false},
      {"a\r\n\nb", "a\r\n\r\nb", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameLines(c.a, c.b), c.same) << ToNotation(c.a) << " / " << ToNotation(c.b);
    EXPECT_EQ(SameLines(c.b, c.a), c.same) << ToNotation(c.b) << " / " << ToNotation(c.a);
  }
}

// Passes made up for the loop: each adds a line to the text until its
// lines reach a count, and notes a difference while told to.
struct CountingPass {
  int settles_at;     // lines after which a pass adds none
  bool keeps_noting;  // every pass notes the next may differ
  int calls = 0;

  FormatPassResult operator()(std::string_view text) {
    ++calls;
    std::string lines(text);
    const auto count = std::count(lines.begin(), lines.end(), '\n');
    if (count < settles_at) lines += "x\r\n";
    return {{lines, LineEnding::kCrLf}, keeps_noting};
  }
};

TEST(Settling, PassesRunUntilTheLinesStayOrNothingIsNoted) {
  struct Case {
    int settles_at;
    bool keeps_noting;
    int calls;
    const char* settled;  // nullptr: no settling within the bound
  };
  const Case cases[] = {
      {1, true, 1, "x\r\n"},        // the first pass's lines stay
      {2, true, 2, "x\r\nx\r\n"},   // the second pass's lines stay
      {3, false, 1, "x\r\nx\r\n"},  // nothing noted: the second pass is taken as it is
      {9, true, kMaxFormatPasses - 1, nullptr},
  };
  for (const Case& c : cases) {
    CountingPass pass{c.settles_at, c.keeps_noting};
    const std::function<FormatPassResult(std::string_view)> run = std::ref(pass);
    if (c.settled == nullptr) {
      EXPECT_THROW(SettleLines({"x\r\n", LineEnding::kCrLf}, run), EFormatNotSettled);
    } else {
      EXPECT_EQ(SettleLines({"x\r\n", LineEnding::kCrLf}, run).text, c.settled);
    }
    EXPECT_EQ(pass.calls, c.calls) << c.settles_at;
  }
}

}  // namespace
}  // namespace vemra
