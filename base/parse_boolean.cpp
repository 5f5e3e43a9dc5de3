// ParseBoolean: a number (true when not zero) or the words True and False.
#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/c_number.h"
#include "base/conversions.h"
#include "base/decimal_separator.h"
#include "base/failures.h"

namespace vemra {

namespace {

// A cursor over the option value for the number reader below.
struct NumberCursor {
  std::string_view text;  // the whole value
  std::size_t pos = 0;    // next byte to read

  bool AtEnd() const { return pos >= text.size(); }
  bool Peek(char c) const { return !AtEnd() && text[pos] == c; }
  bool PeekDigit() const { return !AtEnd() && text[pos] >= '0' && text[pos] <= '9'; }
  bool Take(char c) { return Peek(c) ? (++pos, true) : false; }
  bool TakeSign(std::string& out) {
    if (!Peek('+') && !Peek('-')) return false;
    out += text[pos++];
    return true;
  }
  void SkipSpaces() {
    while (Take(' ')) {
    }
  }
};

// Reads: spaces, a sign, digits, the separator and more digits (one of the
// two present), an exponent with a sign and digits taken while it is below
// 500, spaces, and the end. On success, canonical holds the number spelt for
// strtold ("-012.5e+3").
bool ReadDecimalNumber(std::string_view text, std::string_view separator, std::string& canonical) {
  NumberCursor cursor{text};
  cursor.SkipSpaces();
  cursor.TakeSign(canonical);
  canonical += '0';  // strtold wants a digit before the point: "5." and "." are numbers here
  const std::size_t mantissa_start = cursor.pos;
  while (cursor.PeekDigit()) canonical += cursor.text[cursor.pos++];
  if (!separator.empty() && cursor.text.substr(cursor.pos).starts_with(separator)) {
    cursor.pos += separator.size();
    canonical += '.';
    while (cursor.PeekDigit()) canonical += cursor.text[cursor.pos++];
  }
  if (cursor.pos == mantissa_start) return false;
  if (cursor.Take('E') || cursor.Take('e')) {
    canonical += 'e';
    cursor.TakeSign(canonical);
    int exponent = 0;
    while (cursor.PeekDigit() && exponent < 500) {
      exponent = exponent * 10 + (cursor.text[cursor.pos] - '0');
      canonical += cursor.text[cursor.pos++];
    }
  }
  cursor.SkipSpaces();
  return cursor.AtEnd();
}

}  // namespace

bool ParseBoolean(std::string_view text) {
  return ParseBoolean(text, DecimalSeparator());
}

bool ParseBoolean(std::string_view text, std::string_view decimal_separator) {
  std::string canonical;
  long double value = 0;
  if (ReadDecimalNumber(text, decimal_separator, canonical) && ConvertCNumber(canonical, value)) {
    return value != 0;
  }
  const std::string lowered = LowerAscii(text);
  if (lowered == "true") return true;
  if (lowered == "false") return false;
  throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

}  // namespace vemra
