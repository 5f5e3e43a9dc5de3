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

// Words are looked up in a table of slots, one word per slot, found by a
// multiplicative hash of the lowered first, second and last byte and the
// length: one slot is read and at most one word compared, with no search.
inline constexpr std::size_t kShortestWord = 2;
inline constexpr std::size_t kLongestWord = 15;
inline constexpr std::size_t kWordSlotCount = 128;
inline constexpr std::uint32_t kSlotMultiplier = 0x8D834539;

// The byte with A-Z lowered, without a branch.
constexpr unsigned char LowerLetter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return static_cast<unsigned char>(byte |
                                    (static_cast<unsigned char>(byte - 'A') < 26 ? 0x20 : 0));
}

// Setting bit 5 lowers every letter in one step. It changes some other
// bytes too, which at worst sends a token that is no word to a word's
// slot, where the comparison rejects it.
constexpr std::size_t SlotOf(char first, char second, char last, std::size_t size) {
  const std::uint32_t key =
      (static_cast<unsigned char>(first) | std::uint32_t{static_cast<unsigned char>(second)} << 8 |
       std::uint32_t{static_cast<unsigned char>(last)} << 16 | 0x202020) |
      static_cast<std::uint32_t>(size) << 24;
  return (key * kSlotMultiplier) >> 25;  // the top 7 bits: one of 128 slots
}

struct WordSlot {
  std::array<char, kLongestWord> word{};  // lower case; the slot is free while size is 0
  std::uint8_t size = 0;
  std::uint32_t roles = 0;  // WordRole bits
};

extern const std::array<WordSlot, kWordSlotCount> kWordSlots;

}  // namespace word_tables_detail

// The roles of token, letter case ignored; 0 for every token that is none
// of the words. A token shorter or longer than every word is looked up all
// the same, with its first byte as its second should it have none: no slot
// holds a word of its size, and the lookup costs no branch on the size.
inline std::uint32_t WordRolesOf(std::string_view token) {
  using namespace word_tables_detail;
  if (token.empty()) return 0;
  const std::size_t size = token.size();
  const WordSlot& slot =
      kWordSlots[SlotOf(token[0], token[size > 1 ? 1 : 0], token[size - 1], size)];
  if (slot.size != size) return 0;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (LowerLetter(token[i]) != static_cast<unsigned char>(slot.word[i])) return 0;
  }
  return slot.roles;
}

inline bool IsKeyword(std::string_view token) {
  return (WordRolesOf(token) & kKeyword) != 0;
}
inline bool IsDirective(std::string_view token) {
  return (WordRolesOf(token) & kDirective) != 0;
}

}  // namespace vemra
