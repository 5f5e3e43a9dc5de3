// The small conversions: integer to text, trimming and lower-casing.
#include "base/conversions.h"

#include <array>

namespace vemra {

namespace {

// Maps every byte to itself, except A to Z to a to z.
constexpr std::array<char, 256> MakeLowerTable() {
  std::array<char, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    const bool upper = byte >= 'A' && byte <= 'Z';
    table[static_cast<std::size_t>(byte)] = static_cast<char>(upper ? byte + 0x20 : byte);
  }
  return table;
}
constexpr std::array<char, 256> kLowerTable = MakeLowerTable();

}  // namespace

std::string IntegerToText(std::int32_t value) {
  return std::to_string(value);
}

std::string_view TrimmedTrailing(std::string_view text) {
  std::size_t length = text.size();
  while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= 0x20) --length;
  return text.substr(0, length);
}

std::string TrimTrailing(std::string_view text) {
  return std::string(TrimmedTrailing(text));
}

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = kLowerTable[static_cast<unsigned char>(c)];
  return lowered;
}

}  // namespace vemra
