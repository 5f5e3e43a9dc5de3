// The words the layout pass recognises. Every list is a sorted constant
// table of lower-case words, and tokens are looked up without regard to
// letter case, so the source may spell a word in any case and no
// lower-cased copy of a token is ever made. The lists are merged into one
// table of roles, so a token is looked up once whatever rules ask about it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vemra {

// What a word is to the layout rules; a word may have several roles.
enum WordRole : std::uint32_t {
  kKeyword = 1 << 0,        // one of the 30 reserved words: "(" after it is no call
  kDirective = 1 << 1,      // one of the 26 preprocessor directives
  kClosingWord = 1 << 2,    // takes back one level: "end", "until", "else", "except", ...
  kKeepsLevel = 1 << 3,     // a closing word that lowers no level: "except", "finally"
  kOpeningWord = 1 << 4,    // opens a level for the lines after: "proc", "while", ...
  kRoutineWord = 1 << 5,    // "proc", "func", "nproc", "nfunc"
  kForwardWord = 1 << 6,    // "forward", "inline"
  kAccessorWord = 1 << 7,   // "read", "write"
  kWordOperator = 1 << 8,   // "and", "or", "xor", "not", "div", "mod"
  kEndWord = 1 << 9,        // "end", which also closes "case" blocks
  kElseWord = 1 << 10,      // "else", after which "if" opens no level
  kIfWord = 1 << 11,        // "if"
  kCaseWord = 1 << 12,      // "case"
  kNotWord = 1 << 13,       // "not"
  kDefineWord = 1 << 14,    // "#define"
  kStaysInPlace = 1 << 15,  // "#object", "#inherited": directives not moved to column one
};

namespace word_tables_detail {

// Bit n of entry b is set when some word of the tables is n bytes long and
// begins with byte b, in either letter case.
extern const std::array<std::uint16_t, 256> kLengthsByFirstByte;

// The roles of a token, looked up in the merged table.
std::uint32_t LookUpRoles(std::string_view token);

}  // namespace word_tables_detail

// The roles of token, letter case ignored; 0 for every token that is none
// of the words.
//
// Fast path: this runs for every token, and most tokens (names, numbers,
// symbols) share their first byte and length with no word at all; one
// table test turns them away without a call.
inline std::uint32_t WordRolesOf(std::string_view token) {
  using word_tables_detail::kLengthsByFirstByte;
  if (token.empty() || token.size() >= 16) return 0;
  const unsigned lengths = kLengthsByFirstByte[static_cast<unsigned char>(token[0])];
  if (((lengths >> token.size()) & 1u) == 0) return 0;
  return word_tables_detail::LookUpRoles(token);
}

inline bool IsKeyword(std::string_view token) {
  return (WordRolesOf(token) & kKeyword) != 0;
}
inline bool IsDirective(std::string_view token) {
  return (WordRolesOf(token) & kDirective) != 0;
}

}  // namespace vemra
