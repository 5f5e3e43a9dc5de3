// Indentation: block words, "case" blocks, forward words, the accessor
// countdown, labels and directives. Each case is a program given as lines
// and the lines it formats to, with TABs kept.
#include "tests/formatter/layout_cases.h"

namespace vemra {
namespace {

TEST(Indentation, BlocksAndElse) {
  ExpectPrograms({
      {{"proc Test(a, b)", "if a > b", "x = 1", "else", "x = 2", "end", "while x < 10", "x++",
        "end", "end"},
       {"proc Test(a, b)", "\tif a > b", "\t\tx = 1", "\telse", "\t\tx = 2", "\tend",
        "\twhile x < 10", "\t\tx++", "\tend", "end"}},
      // Source indentation is dropped and rebuilt.
      {{"    proc A()", "\t\t\tx", "  end"}, {"proc A()", "\tx", "end"}},
      // Words are recognised in any letter case and written as in the source.
      {{"PROC A()", "While b", "x", "End", "END"},
       {"PROC A()", "\tWhile b", "\t\tx", "\tEnd", "END"}},
      {{"try", "x", "except", "y", "finally", "z", "end"},
       {"try", "\tx", "except", "\ty", "finally", "\tz", "end"}},
      {{"repeat", "z", "until q"}, {"repeat", "\tz", "until q"}},
      {{"foreach a", "foreachrev b", "for c", "using d", "x", "end", "end", "end", "end"},
       {"foreach a", "\tforeachrev b", "\t\tfor c", "\t\t\tusing d", "\t\t\t\tx", "\t\t\tend",
        "\t\tend", "\tend", "end"}},
      // A closing word in the middle of a line lowers the level for the lines after.
      {{"proc A()", "x end", "y"}, {"proc A()", "\tx end", "y"}},
  });
}

TEST(Indentation, IfAndElseIfChains) {
  ExpectPrograms({
      {{"if a", "x", "else if b", "y", "else", "z", "end"},
       {"if a", "\tx", "else if b", "\ty", "else", "\tz", "end"}},
      // A line break between "else" and "if" gives the "if" a level of its own.
      {{"if a", "x", "else", "if b", "y", "end", "end"},
       {"if a", "\tx", "else", "\tif b", "\t\ty", "\tend", "end"}},
  });
}

TEST(Indentation, CaseBlocksIndentTheirBodyTwice) {
  ExpectPrograms({
      {{"proc A()", "case x", "1:", "case y", "2:", "z", "end", "end", "end"},
       {"proc A()", "\tcase x", "\t\t1:", "\t\t\tcase y", "\t\t\t\t2:", "\t\t\t\t\tz", "\t\t\tend",
        "\tend", "end"}},
      // The "end" of an inner "if" does not close the "case".
      {{"case x", "if a", "y", "end", "1:", "end"},
       {"case x", "\t\tif a", "\t\t\ty", "\t\tend", "\t1:", "end"}},
  });
}

TEST(Indentation, ForwardWordsSpareTheNextRoutineWord) {
  ExpectPrograms({
      {{"forward", "x", "proc A()", "y", "func B()", "z", "end"},
       {"forward", "x", "proc A()", "y", "func B()", "\tz", "end"}},
      {{"inline nproc A()", "nfunc B()", "x", "end"},
       {"inline nproc A()", "nfunc B()", "\tx", "end"}},
      // Non-routine opening words leave the forward word waiting.
      {{"forward while a", "x", "end", "proc A()", "y"},
       {"forward while a", "\tx", "end", "proc A()", "y"}},
  });
}

TEST(Indentation, UnbalancedBlocks) {
  ExpectPrograms({
      // A stray "end" leaves the level at -1 for the rest of the text.
      {{"end", "proc A()", "x", "end", "proc B()", "y", "end"},
       {"end", "proc A()", "x", "end", "proc B()", "y", "end"}},
      {{"else", "proc A()", "x", "end"}, {"else", "proc A()", "\tx", "end"}},
      // A block left open gives an empty last line.
      {{"proc A()", "x"}, {"proc A()", "\tx", ""}},
  });
}

TEST(Indentation, DirectivesStartTheirLine) {
  ExpectPrograms({
      {{"#class Foo", "proc A()", "#ifdef DEBUG", "x = 1", "#endif", "end", "#endclass"},
       {"#class Foo", "\tproc A()", "#ifdef DEBUG", "\t\tx = 1", "#endif", "\tend", "#endclass"}},
      {{"proc A()", "#object Foo", "#inherited", "x = 1 #endif", "end"},
       {"proc A()", "\t#object Foo", "\t#inherited", "\tx = 1 #endif", "end"}},
      {{"proc A()", "#NAMESPACE n", "x", "#EndNamespace", "end"},
       {"proc A()", "#NAMESPACE n", "\tx", "#EndNamespace", "end"}},
  });
}

TEST(Indentation, AccessorCountdown) {
  ExpectPrograms({
      {{"property Name", "read", "return n", "end", "write(v)", "n = v", "end", "write(v$)", "x"},
       {"property Name", "read", "\treturn n", "end", "write (v)", "\tn = v", "end", "write (v$)",
        "x"}},
      {{"n = read", "x", "end"}, {"n = read", "\tx", "end"}},
      {{"write(n%)", "x"}, {"write (n%)", "x"}},
      // A second accessor word restarts the count.
      {{"read write", "x", "end"}, {"read write", "\tx", "end"}},
  });
}

TEST(Indentation, EveryColonTakesOneTabOfItsLine) {
  ExpectPrograms({
      {{"proc A()", "while b", "again:", "x = 1", "end", "end"},
       {"proc A()", "\twhile b", "\tagain:", "\t\tx = 1", "\tend", "end"}},
      {{"proc A()", "while b", "x = c ? 1 : 2", "end", "end"},
       {"proc A()", "\twhile b", "\tx = c ? 1: 2", "\tend", "end"}},
      {{"proc A()", "while b", "a: b: c", "end", "end"},
       {"proc A()", "\twhile b", "a: b: c", "\tend", "end"}},
      // "::" is another token and takes nothing; a line at level 0 loses nothing.
      {{"proc A()", "x :: y", "z:", "end"}, {"proc A()", "\tx ::y", "z:", "end"}},
  });
}

TEST(Indentation, MultiLineTokensKeepTheirInnerLines) {
  ExpectPrograms({
      {{"proc A()", "/* one", "   two */", "x", "end"},
       {"proc A()", "\t/* one", "   two */", "\tx", "end"}},
      {{"proc A()", "s = 'a", "b'", "end"}, {"proc A()", "\ts = 'a", "b'", "end"}},
  });
}

TEST(Indentation, EmptySourceGivesNoLines) {
  EXPECT_EQ(FormatLines({}), std::vector<std::string>{});
  EXPECT_EQ(LayoutPass(""), "");
}

TEST(Indentation, LayoutOutputCarriesTheTabsAfterEachLineFeed) {
  EXPECT_EQ(LaidOut("while b\r\nx\r\nend\r\n"), "while·b·\\r\\n→x·\\r\\nend·\\r\\n");
  EXPECT_EQ(LaidOut("proc A()\r\nx\r\n"), "proc·A()\\r\\n→x·\\r\\n→");
}

}  // namespace
}  // namespace vemra
