// ParseInteger: the forms an integer option value may take.
#include <cstdint>

#include "base/conversions.h"
#include "base/failures.h"

namespace vemra {

namespace {

// Value of a hexadecimal digit, or -1 for any other byte.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads "$1F", "x1F", "X1F", "0x1F" up to the end; the 32 bits are taken as
// a signed number, so "$FFFFFFFF" is -1. False when malformed.
bool ReadHex(std::string_view digits, std::uint32_t& value) {
  if (digits.empty()) return false;
  value = 0;
  for (const char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || value > 0x0FFFFFFFu) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return true;
}

// Reads decimal digits up to the end, as a magnitude of at most limit.
bool ReadDecimal(std::string_view digits, std::int64_t limit, std::int64_t& value) {
  if (digits.empty()) return false;
  value = 0;
  for (const char c : digits) {
    if (!IsDecimalDigit(c) || value > 214748364) return false;
    value = value * 10 + (c - '0');
  }
  return value <= limit;
}

// Length of the hexadecimal prefix at the start of text, 0 when none.
std::size_t HexPrefixLength(std::string_view text) {
  if (text.empty()) return 0;
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return 1;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return 2;
  return 0;
}

}  // namespace

std::int32_t ParseInteger(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (const std::size_t prefix = HexPrefixLength(rest); prefix > 0) {
    std::uint32_t bits = 0;
    if (ReadHex(rest.substr(prefix), bits)) {
      // Two's-complement negation in unsigned arithmetic, then the same bits
      // read as signed.
      return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
  } else {
    std::int64_t magnitude = 0;
    if (ReadDecimal(rest, negative ? 2147483648 : 2147483647, magnitude)) {
      return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    }
  }
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace vemra
