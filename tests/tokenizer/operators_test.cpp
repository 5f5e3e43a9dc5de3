// Operator tokens: every row of the operator, comparison and arithmetic
// tables, the "@" runs and the colons.
#include "tests/tokenizer/token_cases.h"

namespace vemra {
namespace {

TEST(OperatorRunRule, LongestRunOfCaretBarAmpersandEquals) {
  ExpectTokens({
      {"|", {"|"}},
      {"||", {"||"}},
      {"|=", {"|="}},
      {"^", {"^"}},
      {"^^", {"^^"}},
      {"^=", {"^="}},
      {"||=", {"||="}},
      {"^^=", {"^^="}},
      {"|&", {"|&"}},
      {"^|&==x", {"^|&==", "x"}},
      {"| |", {"|", "|"}},
  });
}

TEST(ComparisonRule, AtMostTwoBytes) {
  ExpectTokens({
      {"<<", {"<<"}},       {"<>", {"<>"}},       {"<=", {"<="}},       {"<", {"<"}},
      {"<!", {"<", "!"}},   {">>", {">>"}},       {">=", {">="}},       {">", {">"}},
      {"><", {">", "<"}},   {"==", {"=="}},       {"=", {"="}},         {"=<", {"=", "<"}},
      {"=>", {"=", ">"}},   {"!=", {"!="}},       {"!", {"!"}},         {"!!", {"!", "!"}},
      {"<<=", {"<<", "="}}, {">>=", {">>", "="}}, {"!==", {"!=", "="}}, {"===", {"==", "="}},
  });
}

TEST(ArithmeticRule, AtMostTwoBytes) {
  ExpectTokens({
      {"++", {"++"}},
      {"+=", {"+="}},
      {"+", {"+"}},
      {"+++", {"++", "+"}},
      {"+-", {"+", "-"}},
      {"--", {"--"}},
      {"-=", {"-="}},
      {"-", {"-"}},
      {"*=", {"*="}},
      {"*", {"*"}},
      {"**", {"*", "*"}},
      {"*/", {"*", "/"}},
      {"~", {"~"}},
      {"~=", {"~", "="}},
      {"~~", {"~", "~"}},
  });
}

TEST(SlashRule, OperatorsWhenNoCommentStarts) {
  ExpectTokens({
      {"/", {"/"}},
      {"/=", {"/="}},
      {"/ /", {"/", "/"}},
      {"a/b", {"a", "/", "b"}},
      {"/==", {"/=", "="}},
  });
}

TEST(AtRule, LongestRunOfAt) {
  ExpectTokens({
      {"@", {"@"}},
      {"@@x", {"@@", "x"}},
      {"@ @", {"@", "@"}},
  });
}

TEST(ColonRule, OneOrTwoColons) {
  ExpectTokens({
      {":", {":"}},
      {"::", {"::"}},
      {":::", {"::", ":"}},
      {":=", {":", "="}},
      {": :", {":", ":"}},
  });
}

}  // namespace
}  // namespace vemra
