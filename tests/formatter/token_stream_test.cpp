// Formatting never changes the token stream: pairs of tokens that would
// read back as other tokens keep one blank between them.
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

TEST(TokenPairs, KeepOneBlankWhereTheyWouldMerge) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"x = a + ++b", "x·=·a·+·++·b·"},
      {"x = a - --b", "x·=·a·-·--·b·"},
      {"#define X a- --b", "#define·X·a·-·--·b·"},
      {"x = 1e ++", "x·=·1e·++·"},
      {"x = 1E --", "x·=·1E·--·"},
      {"a : : b", "a:·:·b·"},
      {"x @ @ y", "x·@·@y·"},
      {"s = #1 F", "s·=·#1·F·"},
      {"s = #1 x2", "s·=·#1·x2·"},
      {"s = #1 2", "s·=·#1·2·"},
      // Pairs that read back the same stay joined.
      {"s = #1 g", "s·=·#1g·"},
      {"s = #13 #10", "s·=·#13#10"},
      {"a + + b", "a·+·+·b·"},
      {"i ++ ;", "i++;·"},
      {"x = 1 ++", "x·=·1++·"},
      {"a :: :", "a·:::·"},
  };
  for (const auto& [written, laid_out] : cases) {
    EXPECT_EQ(LaidOut(written), laid_out) << "written: " << written;
  }
}

TEST(TokenPairs, FormattedTextReadsBackAsTheSameTokens) {
  const std::vector<std::string> sources = {
      "x = a + ++b - --c\r\n",
      "#define A 1e --b\r\n",
      "a : : : b\r\n",
      "x @ @@ @ y\r\n",
      "s = #1 a #2 x #3 4 #5 _\r\n",
      "f(a)(b)[c] [d]\r\n",
      "a & = b && c &x &= &\r\n",
      "x ~ ~ ~= ! != !\r\n",
      "a--b ++c\r\n",
      "a <<= b >>= c !== d => e\r\n",
      "1e+5 1e-5 0xE-1 .5e-3\r\n",
      "a.b:c::d: :e\r\n",
  };
  for (const std::string& source : sources) {
    const std::string once = LayoutPass(source);
    EXPECT_EQ(FinishedTokens(once), FinishedTokens(source)) << ToNotation(once);
  }
}

}  // namespace
}  // namespace vemra
