// Tests on the text of a token. The tokenizer attaches no kind to a token,
// so the layout rules recognise what they need from its bytes.
#pragma once

#include <array>
#include <string_view>

namespace vemra {

inline constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline constexpr bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The first byte of token, or NUL for the empty token (NUL is in no set the
// rules test, so an empty token matches none of them).
inline char FirstByte(std::string_view token) {
  return token.empty() ? '\0' : token.front();
}
inline char LastByte(std::string_view token) {
  return token.empty() ? '\0' : token.back();
}

// A set of byte values as a 256-entry table, for the tests on a token's
// first byte that run for every token.
class ByteSet {
 public:
  constexpr explicit ByteSet(std::string_view members) {
    for (char c : members) contains_[static_cast<unsigned char>(c)] = true;
  }
  constexpr bool Contains(char c) const { return contains_[static_cast<unsigned char>(c)]; }

 private:
  std::array<bool, 256> contains_{};
};

// True when the first byte of token is one of set.
inline bool StartsWithOneOf(std::string_view token, const ByteSet& set) {
  return !token.empty() && set.Contains(token.front());
}

// A "#" followed by a digit: the tokenizer reads it and the hexadecimal run
// behind it as one number.
inline bool IsHashNumber(std::string_view token) {
  return token.size() >= 2 && token[0] == '#' && IsDigit(token[1]);
}

inline bool IsNumber(std::string_view token) {
  return !token.empty() && IsDigit(token[0]);
}

// A line-break token: a lone CR or LF.
inline bool IsLineBreak(std::string_view token) {
  return token == "\r" || token == "\n";
}

// "(" and the line-break tokens: what a line or a parenthesis starts with.
inline bool IsOpeningParenOrBreak(std::string_view token) {
  return token == "(" || IsLineBreak(token);
}

inline bool IsComment(std::string_view token) {
  return token.size() >= 2 && token[0] == '/' && (token[1] == '/' || token[1] == '*');
}

inline bool StartsLikeHexRun(std::string_view token) {
  const char first = FirstByte(token);
  return IsDigit(first) || (first >= 'A' && first <= 'F') || (first >= 'a' && first <= 'f') ||
         first == 'X' || first == 'x';
}

inline bool IsAtRun(std::string_view token) {
  return FirstByte(token) == '@';
}

// A number ending in an exponent mark would take a following "+" or "-".
inline bool IsNumberEndingInExponent(std::string_view token) {
  return IsNumber(token) && (LastByte(token) == 'e' || LastByte(token) == 'E');
}

}  // namespace vemra
