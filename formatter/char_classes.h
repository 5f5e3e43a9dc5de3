// The byte classes of the tokenizer and its dispatch table: which rule cuts
// the token that starts with a given byte. Bytes 0x80 to 0xFF belong to no
// class and are cut by the one-byte rule, apart from 0x8B, which opens an
// angle-quoted run.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vemra {

// One bit per class; a byte may be in several classes at once.
enum CharClass : std::uint8_t {
  kBlankChar = 1 << 0,        // space, TAB: dropped between tokens
  kWordStartChar = 1 << 1,    // A-Z a-z _ . & backslash: starts a word
  kWordChar = 1 << 2,         // A-Z a-z 0-9 _ . # $ % : backslash: continues a word
  kNumberChar = 1 << 3,       // 0-9 A-F a-f X x . + -: continues a number
  kHexChar = 1 << 4,          // 0-9 A-F a-f X x: continues a "#" number
  kDirectiveChar = 1 << 5,    // A-Z a-z _: continues a "#" directive word
  kOperatorRunChar = 1 << 6,  // ^ | & =: continues an operator run
  kWordBodyChar = 1 << 7,     // the word bytes after which a word goes on: all but $ %
};

// The rule that cuts a token, chosen by the token's first byte.
enum class TokenRule : std::uint8_t {
  kOneByte,      // the byte alone (CR, LF, "(", "}", 0x80-0xFF, ...)
  kBlank,        // space or TAB, skipped before a token starts
  kSlash,        // "//" comment, "/*" comment, "/=" or "/"
  kHash,         // "#" number or "#" directive word
  kNumber,       // digits and the rest of a number
  kWord,         // names, "&"
  kAngle,        // 0x8B up to and including 0x9B
  kAt,           // a run of "@"
  kOperatorRun,  // a run of ^ | & =
  kComparison,   // ! < = > and their two-byte forms
  kArithmetic,   // * + - ~ and their two-byte forms
  kSingleQuote,  // '...'
  kDoubleQuote,  // "..." with backslash escapes, ended by CR
  kBrace,        // a balanced {...} group
  kColon,        // ":" or "::"
};

inline constexpr unsigned char kAngleOpen = 0x8B;
inline constexpr unsigned char kAngleClose = 0x9B;

namespace char_classes_detail {

constexpr void AddClass(std::array<std::uint8_t, 256>& table, std::string_view members,
                        std::uint8_t bit) {
  for (char c : members) table[static_cast<unsigned char>(c)] |= bit;
}

constexpr std::string_view kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kLower = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kHexLetters = "ABCDEFabcdefXx";

constexpr std::array<std::uint8_t, 256> MakeCharClasses() {
  std::array<std::uint8_t, 256> table{};
  AddClass(table, " \t", kBlankChar);
  for (std::uint8_t bit : {kWordStartChar, kWordChar, kDirectiveChar}) {
    AddClass(table, kUpper, bit);
    AddClass(table, kLower, bit);
    AddClass(table, "_", bit);
  }
  AddClass(table, ".&\\", kWordStartChar);
  AddClass(table, kDigits, kWordChar);
  AddClass(table, ".#$%:\\", kWordChar);
  for (int c = 0; c < 256; ++c) {
    if ((table[c] & kWordChar) != 0 && c != '$' && c != '%') table[c] |= kWordBodyChar;
  }
  for (std::uint8_t bit : {kNumberChar, kHexChar}) {
    AddClass(table, kDigits, bit);
    AddClass(table, kHexLetters, bit);
  }
  AddClass(table, ".+-", kNumberChar);
  AddClass(table, "^|&=", kOperatorRunChar);
  return table;
}

constexpr void SetRule(std::array<TokenRule, 256>& table, std::string_view firsts, TokenRule rule) {
  for (char c : firsts) table[static_cast<unsigned char>(c)] = rule;
}

// Rows are set from the last to the first, so that where two rows claim the
// same byte the earlier one wins, as in the order the rules are tried.
constexpr std::array<TokenRule, 256> MakeDispatch() {
  std::array<TokenRule, 256> table{};  // every byte: the one-byte rule
  SetRule(table, " \t", TokenRule::kBlank);
  SetRule(table, ":", TokenRule::kColon);
  SetRule(table, "{", TokenRule::kBrace);
  SetRule(table, "\"", TokenRule::kDoubleQuote);
  SetRule(table, "'", TokenRule::kSingleQuote);
  SetRule(table, "*+-~", TokenRule::kArithmetic);
  SetRule(table, "!<=>", TokenRule::kComparison);
  SetRule(table, "^|", TokenRule::kOperatorRun);
  SetRule(table, "@", TokenRule::kAt);
  table[kAngleOpen] = TokenRule::kAngle;
  const std::array<std::uint8_t, 256> classes = MakeCharClasses();
  for (int c = 0; c < 256; ++c) {
    if (classes[c] & kWordStartChar) table[c] = TokenRule::kWord;
  }
  SetRule(table, kDigits, TokenRule::kNumber);
  SetRule(table, "#", TokenRule::kHash);
  SetRule(table, "/", TokenRule::kSlash);
  return table;
}

}  // namespace char_classes_detail

inline constexpr std::array<std::uint8_t, 256> kCharClasses =
    char_classes_detail::MakeCharClasses();
inline constexpr std::array<TokenRule, 256> kTokenRules = char_classes_detail::MakeDispatch();

inline constexpr bool IsInClass(char c, CharClass cls) {
  return (kCharClasses[static_cast<unsigned char>(c)] & cls) != 0;
}

inline constexpr TokenRule RuleFor(char c) {
  return kTokenRules[static_cast<unsigned char>(c)];
}

}  // namespace vemra
