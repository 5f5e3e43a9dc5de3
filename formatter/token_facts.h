// What the layout rules ask about a token, worked out once from its bytes
// and its word roles and kept as one bit set. Each rule then tests bits of
// the current and the previous token instead of comparing texts, so a token
// costs a few table lookups however many rules look at it, and the rules
// compile to little more than bit arithmetic.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "formatter/char_classes.h"
#include "formatter/token_text.h"
#include "formatter/word_tables.h"

namespace vemra {

using TokenFacts = std::uint64_t;

constexpr TokenFacts Fact(int bit) {
  return TokenFacts{1} << bit;
}

// The low 16 bits are the token's WordRole bits; the rest describe its shape.
inline constexpr TokenFacts kAnyToken = Fact(16);        // every token; none before the first
inline constexpr TokenFacts kLineFeed = Fact(17);        // "\n"
inline constexpr TokenFacts kCarriageReturn = Fact(18);  // "\r"
inline constexpr TokenFacts kOpenParen = Fact(19);       // "("
inline constexpr TokenFacts kOpenBracket = Fact(20);     // "["
inline constexpr TokenFacts kCloseBracket = Fact(21);    // "]"
inline constexpr TokenFacts kColon = Fact(22);           // ":"
inline constexpr TokenFacts kTilde = Fact(23);           // "~"
inline constexpr TokenFacts kAmpersand = Fact(24);       // "&" alone
inline constexpr TokenFacts kEqualsSign = Fact(25);      // "=" alone
inline constexpr TokenFacts kPlusSign = Fact(26);        // "+" alone
inline constexpr TokenFacts kMinusSign = Fact(27);       // "-" alone
inline constexpr TokenFacts kPlusPlus = Fact(28);        // "++"
inline constexpr TokenFacts kMinusMinus = Fact(29);      // "--"
inline constexpr TokenFacts kComment = Fact(30);         // "//..." or "/*..."
inline constexpr TokenFacts kHashNumber = Fact(31);      // "#" and a digit: "#13"
inline constexpr TokenFacts kAtRun = Fact(32);           // a run of "@"
inline constexpr TokenFacts kHexRunStart = Fact(33);     // begins with 0-9 A-F a-f X x
inline constexpr TokenFacts kExponentNumber = Fact(34);  // a number ending in "e" or "E"
inline constexpr TokenFacts kEndsInNameByte = Fact(35);  // ends in a letter, "$" or "%"
inline constexpr TokenFacts kEndsInSigil = Fact(36);     // ends in "$" or "%"
inline constexpr TokenFacts kGluesLeft = Fact(37);       // written against what precedes it
inline constexpr TokenFacts kSpacedOperator = Fact(38);  // a blank on both sides: "=", "-", ...
inline constexpr TokenFacts kOperatorStart = Fact(39);   // begins with ! & * + - / < = > |
inline constexpr TokenFacts kSignMinusAfter = Fact(40);  // a "-" behind it is a sign
inline constexpr TokenFacts kNoSpaceAfter = Fact(41);    // no blank behind it: "(", "]", ...
inline constexpr TokenFacts kAmpersandName = Fact(42);   // "&" and more: "&handle"

inline constexpr TokenFacts kWordRoleBits = 0xFFFF;
static_assert(kStaysInPlace <= kWordRoleBits, "word roles fit in the low 16 bits");

// "(" and the line breaks: what a line or a parenthesis starts with.
inline constexpr TokenFacts kOpensLineOrParen = kOpenParen | kLineFeed | kCarriageReturn;

namespace token_facts_detail {

constexpr void Mark(std::array<TokenFacts, 256>& table, std::string_view bytes, TokenFacts facts) {
  for (char c : bytes) table[static_cast<unsigned char>(c)] |= facts;
}

// The facts that follow from the first byte alone.
constexpr std::array<TokenFacts, 256> MakeFirstByteFacts() {
  std::array<TokenFacts, 256> table{};
  for (TokenFacts& facts : table) facts = kAnyToken;
  Mark(table, "!),:;]", kGluesLeft);
  Mark(table, "%&*+<=>^|", kSpacedOperator);
  Mark(table, "!&*+-/<=>|", kOperatorStart);
  Mark(table, "\n\r!,<=>", kSignMinusAfter);
  Mark(table, "!)@]~\n\r([", kNoSpaceAfter);
  Mark(table, "@", kAtRun);
  Mark(table, "0123456789ABCDEFabcdefXx", kHexRunStart);
  return table;
}

// The facts of the one-byte tokens that rules name.
constexpr std::array<TokenFacts, 256> MakeSingleByteFacts() {
  std::array<TokenFacts, 256> table{};
  Mark(table, "\n", kLineFeed);
  Mark(table, "\r", kCarriageReturn);
  Mark(table, "(", kOpenParen);
  Mark(table, "[", kOpenBracket | kGluesLeft);
  Mark(table, "]", kCloseBracket);
  Mark(table, ":", kColon);
  Mark(table, "~", kTilde);
  Mark(table, "&", kAmpersand);
  Mark(table, "=", kEqualsSign);
  Mark(table, "+", kPlusSign);
  Mark(table, "-", kMinusSign | kSpacedOperator);
  Mark(table, "/", kSpacedOperator);
  return table;
}

// The facts that follow from the last byte.
constexpr std::array<TokenFacts, 256> MakeLastByteFacts() {
  std::array<TokenFacts, 256> table{};
  for (int c = 0; c < 256; ++c) {
    if (IsLetter(static_cast<char>(c))) table[c] = kEndsInNameByte;
  }
  Mark(table, "$%", kEndsInNameByte | kEndsInSigil);
  return table;
}

inline constexpr std::array<TokenFacts, 256> kFirstByteFacts = MakeFirstByteFacts();
inline constexpr std::array<TokenFacts, 256> kSingleByteFacts = MakeSingleByteFacts();
inline constexpr std::array<TokenFacts, 256> kLastByteFacts = MakeLastByteFacts();

// Every fact of each one-byte token: no word is that short.
constexpr std::array<TokenFacts, 256> MakeOneByteTokenFacts() {
  std::array<TokenFacts, 256> table{};
  for (std::size_t c = 0; c < 256; ++c) {
    table[c] = kFirstByteFacts[c] | kSingleByteFacts[c] | kLastByteFacts[c];
  }
  return table;
}
inline constexpr std::array<TokenFacts, 256> kOneByteTokenFacts = MakeOneByteTokenFacts();

}  // namespace token_facts_detail

// The facts of the two tokens a line end stands for.
inline constexpr TokenFacts kCarriageReturnFacts = token_facts_detail::kOneByteTokenFacts['\r'];
inline constexpr TokenFacts kLineFeedFacts = token_facts_detail::kOneByteTokenFacts['\n'];

namespace token_facts_detail {

// Facts of tokens of two bytes or more that their first byte does not settle.
inline TokenFacts LongTokenFacts(std::string_view token) {
  const char first = token[0];
  const char second = token[1];
  if (first == '/' && (second == '/' || second == '*')) return kComment;
  if (first == '#') return IsDigit(second) ? kHashNumber | kNoSpaceAfter : 0;
  if (first == '&') return kAmpersandName;
  if (IsDigit(first)) {
    const char last = token.back();
    return last == 'e' || last == 'E' ? kExponentNumber : 0;
  }
  if (token.size() != 2) return 0;
  if (token == "++") return kPlusPlus | kGluesLeft;
  if (token == "--") return kMinusMinus | kGluesLeft | kSpacedOperator;
  if (token == "-=" || token == "/=") return kSpacedOperator;
  if (token == "::") return kNoSpaceAfter;
  return 0;
}

}  // namespace token_facts_detail

// Every fact of token; 0 for the empty token, which stands for "no token yet".
[[gnu::always_inline]] inline TokenFacts FactsOf(std::string_view token) {
  using namespace token_facts_detail;
  if (token.empty()) return 0;
  const auto first = static_cast<unsigned char>(token[0]);
  if (token.size() == 1) return kOneByteTokenFacts[first];
  TokenFacts facts = kFirstByteFacts[first] | WordRolesOf(token);
  // "::" is the one token whose first byte would make it glue.
  if (token == "::") facts &= ~kGluesLeft;
  return facts | LongTokenFacts(token) | kLastByteFacts[static_cast<unsigned char>(token.back())];
}

namespace token_facts_detail {

// What tells the facts of a token of two bytes or more apart beyond its
// first byte, by the rule that cut it: its second byte, its last byte, or
// neither. The first byte settles the rule, so these are facts of the
// first byte as well.
enum FollowingBytes : std::uint8_t {
  kNothingFollows,  // the first and last byte and the word roles say it all
  kSlashFollows,    // "//" and "/*" are comments, "/=" a spaced operator
  kHashFollows,     // "#" and a digit is a number
  kSignFollows,     // "++", "--"
  kNumberFollows,   // a last "e" or "E" is an exponent mark
  kFollowingKinds,
};

constexpr FollowingBytes FollowingBytesOf(TokenRule rule) {
  switch (rule) {
    case TokenRule::kSlash:
      return kSlashFollows;
    case TokenRule::kHash:
      return kHashFollows;
    case TokenRule::kArithmetic:
      return kSignFollows;
    case TokenRule::kNumber:
      return kNumberFollows;
    default:
      return kNothingFollows;
  }
}

inline constexpr std::array<FollowingBytes, 256> kFollowingBytesOfRule = [] {
  std::array<FollowingBytes, 256> table{};
  for (int rule = 0; rule < 256; ++rule) {
    table[rule] = FollowingBytesOf(static_cast<TokenRule>(rule));
  }
  return table;
}();

// The facts of the first byte of a token of two bytes or more. Each byte
// below starts tokens of one rule only: "&" a name, "-" the spaced "--" and
// "-=", ":" the one long token "::", which glues to nothing.
constexpr std::array<TokenFacts, 256> MakeLongFirstByteFacts() {
  std::array<TokenFacts, 256> table = kFirstByteFacts;
  table['&'] |= kAmpersandName;
  table['-'] |= kSpacedOperator;
  table[':'] = (table[':'] & ~kGluesLeft) | kNoSpaceAfter;
  return table;
}

struct FollowingFacts {
  std::array<TokenFacts, 256> second;  // by the second byte
  std::array<TokenFacts, 256> last;    // by the last byte
};

constexpr std::array<FollowingFacts, kFollowingKinds> MakeFollowingFacts() {
  std::array<FollowingFacts, kFollowingKinds> tables{};
  for (FollowingFacts& facts : tables) facts.last = kLastByteFacts;
  Mark(tables[kSlashFollows].second, "/*", kComment);
  Mark(tables[kSlashFollows].second, "=", kSpacedOperator);
  Mark(tables[kHashFollows].second, "0123456789", kHashNumber | kNoSpaceAfter);
  Mark(tables[kSignFollows].second, "+", kPlusPlus | kGluesLeft);
  Mark(tables[kSignFollows].second, "-", kMinusMinus | kGluesLeft);
  Mark(tables[kNumberFollows].last, "eE", kExponentNumber);
  return tables;
}

inline constexpr std::array<TokenFacts, 256> kLongFirstByteFacts = MakeLongFirstByteFacts();
inline constexpr std::array<FollowingFacts, kFollowingKinds> kFollowingFacts = MakeFollowingFacts();

}  // namespace token_facts_detail

// FactsOf for a token cut by the given rule, from table lookups alone: a
// one-byte token's facts are in one table, a longer token's follow from
// its first, second and last byte, read from the tables of its rule, and
// its word roles. Both are worked out and one is chosen, so that nothing
// branches on the token's size or rule.
[[gnu::always_inline]] inline TokenFacts FactsOfCut(std::string_view token, TokenRule rule) {
  using namespace token_facts_detail;
  const std::size_t size = token.size();
  const auto first = static_cast<unsigned char>(token[0]);
  const auto second = static_cast<unsigned char>(token[size > 1 ? 1 : 0]);
  const auto last = static_cast<unsigned char>(token[size - 1]);
  const FollowingFacts& following =
      kFollowingFacts[kFollowingBytesOfRule[static_cast<std::uint8_t>(rule)]];
  const TokenFacts long_facts = kLongFirstByteFacts[first] | following.second[second] |
                                following.last[last] | WordRolesOf(token);
  const TokenFacts one_byte_facts = kOneByteTokenFacts[first];
  return size == 1 ? one_byte_facts : long_facts;
}

}  // namespace vemra
