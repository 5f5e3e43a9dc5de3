// Parses arbitrary texts as option values: ParseInteger against a small
// model of the accepted forms, ParseBoolean for crashes, and every accepted
// integer printed back and parsed again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "base/conversions.h"
#include "base/failures.h"

namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The accepted forms: blanks, one sign, then "$", "x", "X", "0x" or "0X"
// and hexadecimal digits whose 32 bits are read as signed, or decimal digits
// within the signed 32-bit range; nothing before, between or after.
std::optional<std::int32_t> ModelInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16, ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16, i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > (base == 16 ? 0xFFFFFFFFLL : 2147483648LL)) return std::nullopt;
  }
  if (base == 16) {
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
  }
  if (!negative && value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -value : value);
}

void Fail(const char* what, std::string_view text) {
  std::fprintf(stderr, "conversion fault: %s for '%.*s'\n", what, static_cast<int>(text.size()),
               text.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::optional<std::int32_t> parsed;
  try {
    parsed = vemra::ParseInteger(text);
  } catch (const vemra::EConvertError& failure) {
    if (failure.Message() != "'" + text + "' is not a valid integer value") {
      Fail("wrong integer message", text);
    }
  }
  if (parsed != ModelInteger(text)) Fail("integer differs from the model", text);
  if (parsed && vemra::ParseInteger(vemra::IntegerToText(*parsed)) != *parsed) {
    Fail("integer does not print back", text);
  }
  try {
    vemra::ParseBoolean(text);
  } catch (const vemra::EConvertError& failure) {
    if (failure.Message() != "'" + text + "' is not a valid boolean value") {
      Fail("wrong boolean message", text);
    }
  }
  return 0;
}
