// Spacing: the blanks the layout pass writes before and behind each token.
// Each case is one line written after an earlier line, and that line as the
// layout pass leaves it ("·" one blank, "→" one TAB), before trimming.
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

struct SpacingCase {
  const char* written;
  const char* laid_out;
};

// Lays out each written line after a line "p" at level 0, or inside a
// "while" block at level 1, and compares that line of the output.
void ExpectSpacing(const std::vector<SpacingCase>& cases, std::string_view opener = "p") {
  for (const SpacingCase& c : cases) {
    const std::string output = LayoutPass(std::string(opener) + "\r\n" + c.written + "\r\n");
    std::string line = output.substr(output.find('\n') + 1);
    line = line.substr(0, line.find('\r'));
    EXPECT_EQ(ToNotation(line), c.laid_out) << "written: " << c.written;
    ExpectPromisesKept(std::string(opener) + "\r\n" + c.written + "\r\n");
  }
}

TEST(Spacing, OperatorsAndPunctuation) {
  ExpectSpacing({
      {"a=b+c", "a·=·b·+·c·"},
      {"x [ 1 ]", "x[1]"},
      {"foo (a,b)", "foo(a,·b)"},
      {"if(a)", "if·(a)"},
      {"a&=b", "a·&=·b·"},
      {"a & = b", "a·&=·b·"},
      {"f(&x)", "f(&x)"},
      {"p^.x", "p·^·.x·"},
      {"a::b", "a::b·"},
      {"x=::b", "x·=·::b·"},
      {"a :: b", "a·::b·"},
      {"f(a, (b))", "f(a,(b))"},
      {"a % (b)", "a·%(b)"},
      {"a^(b)", "a·^(b)"},
      {"x mod(y)", "x·mod·(y)"},
      {"while(x)", "while·(x)"},
      {"if (a) return", "if·(a)return·"},
      {"i ++ ;", "i++;·"},
      {"++i;", "++·i;·"},
      {"a ! b", "a!b·"},
      {"~ x", "~x·"},
      {"a , b ; c", "a,·b;·c·"},
      {"a && b", "a·&·&·b·"},
      {"a&&b", "a·&·&b·"},
      {"x=$FF", "x·=·$·FF·"},
      {"case 1: x", "case·1:·x·"},
      {"a<>b", "a·<>·b·"},
      {"x @@ y", "x·@@y·"},
      {"s$[1]", "s$[1]"},
  });
}

TEST(Spacing, IndexKeepsTheBlankAfterNonNames) {
  ExpectSpacing({
      {"a1[0]", "a1·[0]"},
      {"a_[0]", "a_·[0]"},
      {"n%[2]", "n%[2]"},
      {"a[i] [j]", "a[i][j]"},
      {"x=[1,2]", "x·=·[1,·2]"},
      {"'s' [1]", "'s'·[1]"},
  });
}

TEST(Spacing, MinusAsSign) {
  ExpectSpacing({
      {"-1", "-1·"},
      {"x=-1", "x·=·-1·"},
      {"f(a,-1)", "f(a,·-1)"},
      {"f(-1)", "f(·-·1)"},
      {"x=(-1)", "x·=·(·-·1)"},
      {"return -1", "return·-·1·"},
      {"x = a*-1", "x·=·a·*·-·1·"},
      {"a != -1", "a!=·-1·"},
      {"a <= -1", "a·<=·-1·"},
      {"#define X -1", "#define·X·-1·"},
      {"#define Y a - b", "#define·Y·a·-b·"},
  });
  // The "#define" line ends at its LF: the next line is spaced as usual.
  EXPECT_EQ(LaidOut("#define Y a - b\r\nc - d\r\n"), "#define·Y·a·-b·\\r\\nc·-·d·\\r\\n");
  // Nothing before the first token: a leading minus keeps its blank.
  EXPECT_EQ(LaidOut("-1"), "-·1·");
}

TEST(Spacing, WordOperatorsAndNot) {
  ExpectSpacing({
      {"not x", "not·x·"},
      {"(not b)", "(not·b)"},
      {"a=not b", "a·=·not·b·"},
      {"a AND NOT b", "a·AND·NOT·b·"},
      {"a xor b div c mod d or e", "a·xor·b·div·c·mod·d·or·e·"},
  });
}

TEST(Spacing, CommentsDirectivesAndHashNumbers) {
  ExpectSpacing({
      {"// comment", "//·comment·"},
      {"x=1// comment", "x·=·1·//·comment·"},
      {"f(// c", "f(·//·c·"},
      {"~/* c */", "~·/*·c·*/·"},
      {"x = 1 #endif", "x·=·1·#endif·"},
      {"#ifdef X", "#ifdef·X·"},
      {"s='a' #13 #10", "s·=·'a'·#13#10"},
      {"#13 #10", "#13#10"},
      {"#debug2", "#debug·2·"},
  });
  EXPECT_EQ(LaidOut("// c"), "//·c·");
}

TEST(Spacing, StartOfAnIndentedLine) {
  ExpectSpacing(
      {
          {"-1", "→·-1·"},
          {"and y", "→·and·y·"},
          {"+ z", "→·+·z·"},
          {"// c", "→//·c·"},
          {"#ifdef X", "#ifdef·X·"},
          {"#object", "→#object·"},
          {"&x = 1", "→&x·=·1·"},
          {"not y", "→not·y·"},
          {"(a)", "→(a)"},
      },
      "while x");
  EXPECT_EQ(LaidOut("while x\r\nend\r\n"), "while·x·\\r\\nend·\\r\\n");
}

}  // namespace
}  // namespace vemra
