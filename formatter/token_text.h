// Byte tests shared by the layout rules and the output text.
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

}  // namespace vemra
