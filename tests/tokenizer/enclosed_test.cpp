// Tokens that hold other bytes whole: comments, literals, brace groups and
// angle-quoted runs, closed and still open at the end of the text.
#include "tests/tokenizer/token_cases.h"

namespace vemra {
namespace {

TEST(LineComment, RunsToTheNextCarriageReturn) {
  ExpectTokens({
      {"//c\r\n", {"//c", "\r", "\n"}},
      {"// a\tb  \r\nx", {"// a\tb  ", "\r", "\n", "x"}},
      {"// a\nb\r\n", {"// a\nb", "\r", "\n"}},  // an LF alone does not end it
      {"//", {"//"}},
      {"// open", {"// open"}},
      {"x//y", {"x", "//y"}},
  });
}

TEST(BlockComment, EndsAtTheFirstStarSlashAfterTheOpening) {
  ExpectTokens({
      {"/*a*/b", {"/*a*/", "b"}},
      {"/**/x", {"/**/", "x"}},
      {"/***/x", {"/***/", "x"}},
      {"/*/ x */y", {"/*/ x */", "y"}},
      {"/*/", {"/*/"}},
      {"/*/*/x", {"/*/*/", "x"}},
      {"/* **/x", {"/* **/", "x"}},
      {"/*** /", {"/*** /"}},
      {"/* a /* b */ c */", {"/* a /* b */", "c", "*", "/"}},
      {"/* a\r\n * b\r\n */\r\n", {"/* a\r\n * b\r\n */", "\r", "\n"}},
      {"/* open\r\nx y", {"/* open\r\nx y"}},
      {"/*", {"/*"}},
      {"/* * / */", {"/* * / */"}},
  });
}

TEST(SingleQuoted, NoEscapesAndMayCrossLines) {
  ExpectTokens({
      {"'abc'", {"'abc'"}},
      {"''", {"''"}},
      {"'it''s'", {"'it'", "'s'"}},
      {"'a\\' b", {"'a\\'", "b"}},
      {"'a\"b'", {"'a\"b'"}},
      {"'a\r\nb'c", {"'a\r\nb'", "c"}},
      {"'open\r\n x", {"'open\r\n x"}},
      {"'", {"'"}},
  });
}

TEST(DoubleQuoted, BackslashEscapesAndTheLineEnd) {
  ExpectTokens({
      {"\"abc\"x", {"\"abc\"", "x"}},
      {"\"\"", {"\"\""}},
      {"\"a\\\"b\"", {"\"a\\\"b\""}},
      {"\"a\\\\\" x", {"\"a\\\\\"", "x"}},
      {"\"a'b\"", {"\"a'b\""}},
      {"\"ab\r\n", {"\"ab", "\r", "\n"}},
      {"\"a\\\r\n", {"\"a\\", "\r", "\n"}},  // a backslash never makes a CR plain
      {"\"a\nb\"", {"\"a\nb\""}},            // an LF alone does not end it
      {"\"a\\\nb\"", {"\"a\\\nb\""}},
      {"\"abc", {"\"abc"}},
      {"\"a\\", {"\"a\\"}},
      {"\"", {"\""}},
  });
}

TEST(BraceGroup, BalancedAndHoldingAnything) {
  ExpectTokens({
      {"{a{b}c}d", {"{a{b}c}", "d"}},
      {"{}", {"{}"}},
      {"{}}", {"{}", "}"}},
      {"}", {"}"}},
      {"{\r\n\tx // c\r\n}", {"{\r\n\tx // c\r\n}"}},
      {"{ 'x }' }", {"{ 'x }", "' }"}},  // quotes mean nothing inside
      {"{ \"}\" }", {"{ \"}", "\" }"}},
      {"{a", {"{a"}},
      {"{{}", {"{{}"}},
  });
}

TEST(AngleQuoted, FromOpeningToClosingByte) {
  ExpectTokens({
      {"\x8B"
       "a b"
       "\x9B"
       "c",
       {"\x8B"
        "a b"
        "\x9B",
        "c"}},
      {"\x8B\x9B", {"\x8B\x9B"}},
      {"a\x8B"
       "b\r\nc"
       "\x9B",
       {"a",
        "\x8B"
        "b\r\nc"
        "\x9B"}},
      {"\x8B"
       "open",
       {"\x8B"
        "open"}},
      {"\x8B", {"\x8B"}},
  });
}

}  // namespace
}  // namespace vemra
