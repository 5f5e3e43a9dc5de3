// Words, numbers, "#" tokens, one-byte tokens and the blanks between tokens.
#include <string>

#include "tests/tokenizer/token_cases.h"

namespace vemra {
namespace {

using namespace std::string_literals;

TEST(WordRule, NamesAndTheirEndings) {
  ExpectTokens({
      {"count", {"count"}},
      {"_x1 A_b", {"_x1", "A_b"}},
      {"a.b.c", {"a.b.c"}},
      {".5", {".5"}},
      {"a\\b", {"a\\b"}},
      {"a#b", {"a#b"}},
      {"x#id y", {"x#id", "y"}},  // "#" inside a word is no marker
      {"name$", {"name$"}},
      {"name$x", {"name$", "x"}},
      {"count%5", {"count%", "5"}},
      {"a$%", {"a$", "%"}},
      {"a1-2", {"a1", "-", "2"}},
      {"a\x80"
       "b",
       {"a", "\x80", "b"}},
      {"a\x8B"
       "b",
       {"a",
        "\x8B"
        "b"}},
  });
}

TEST(WordRule, ColonsInsideAndAtTheEnd) {
  ExpectTokens({
      {"a:b", {"a:b"}},
      {"a::b", {"a::b"}},
      {"a :: b", {"a", "::", "b"}},
      {"label:", {"label", ":"}},
      {"Foo::", {"Foo:", ":"}},
      {"x:=y", {"x", ":", "=", "y"}},
      {"case 1:", {"case", "1", ":"}},
      {"a:$", {"a:$"}},
      {"a$:", {"a$", ":"}},
      {"a:\r\n", {"a", ":", "\r", "\n"}},
  });
}

TEST(WordRule, AmpersandStartsButNeverContinuesAWord) {
  ExpectTokens({
      {"&x", {"&x"}},
      {"& x", {"&", "x"}},
      {"&", {"&"}},
      {"&&", {"&", "&"}},
      {"&=", {"&", "="}},
      {"a&b", {"a", "&b"}},
      {"&|", {"&", "|"}},
  });
}

TEST(NumberRule, DigitsSignsAndHex) {
  ExpectTokens({
      {"42", {"42"}},
      {"0x1F", {"0x1F"}},
      {"3.14", {"3.14"}},
      {"1.2.3", {"1.2.3"}},
      {"1e-5", {"1e-5"}},
      {"1E+5", {"1E+5"}},
      {"0xE-1", {"0xE-1"}},
      {"1-2", {"1", "-", "2"}},
      {"1+2", {"1", "+", "2"}},
      {"1e+-5", {"1e+", "-", "5"}},
      {"1e-", {"1e-"}},
      {".5e-3", {".5e", "-", "3"}},
      {"12abX", {"12abX"}},
      {"9z", {"9", "z"}},
      {"7$", {"7", "$"}},
      {"-1", {"-", "1"}},
  });
}

TEST(HashRule, NumbersAndDirectiveWords) {
  ExpectTokens({
      {"#1F", {"#1F"}},
      {"#0x1F", {"#0x1F"}},
      {"#123abc", {"#123abc"}},
      {"#1g", {"#1", "g"}},
      {"#9.5", {"#9", ".5"}},
      {"#define", {"#define"}},
      {"#DEFINE x", {"#DEFINE", "x"}},
      {"#c_declare", {"#c_declare"}},
      {"#debug2", {"#debug", "2"}},
      {"# define", {"#", "define"}},
      {"#", {"#"}},
      {"#(", {"#", "("}},
      {"##", {"#", "#"}},
      {"#a.b", {"#a", ".b"}},
  });
}

TEST(OneByteRule, PunctuationLineBreaksAndOtherBytes) {
  ExpectTokens({
      {"(),;[]", {"(", ")", ",", ";", "[", "]"}},
      {"%$?}`", {"%", "$", "?", "}", "`"}},
      {"$$", {"$", "$"}},
      {"\r\n", {"\r", "\n"}},
      {"\n\r", {"\n", "\r"}},
      {"a\r\n\r\nb", {"a", "\r", "\n", "\r", "\n", "b"}},
      {"\x9B", {"\x9B"}},
      {"a\0b"s, {"a", "\0"s, "b"}},
      {"\f\v", {"\f", "\v"}},  // only space and TAB are blanks
  });
}

// Every byte that no rule claims is a token of its own and ends a word in
// front of it ("$" and "%" are left out: they end a word after themselves).
TEST(OneByteRule, EveryUnclaimedByteStandsAlone) {
  const std::string unclaimed_below_0x80 = "\r\n(),;[]?}`\x7F"s + "\0\x01\x1B\x1F"s;
  std::vector<unsigned char> bytes(unclaimed_below_0x80.begin(), unclaimed_below_0x80.end());
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (b != 0x8B) bytes.push_back(static_cast<unsigned char>(b));
  }
  for (unsigned char b : bytes) {
    const std::string alone(1, static_cast<char>(b));
    ExpectTokens({{"ab" + alone + "cd", {"ab", alone, "cd"}}});
  }
}

TEST(Blanks, DroppedBetweenTokensOnly) {
  ExpectTokens({
      {"  a \t b\t", {"a", "b"}},
      {"a\tb", {"a", "b"}},
      {" \t \r\n", {"\r", "\n"}},
      {"", {}},
      {"   \t ", {}},
  });
}

}  // namespace
}  // namespace vemra
