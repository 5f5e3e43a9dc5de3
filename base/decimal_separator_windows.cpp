#include <windows.h>

#include "base/decimal_separator.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

std::string ReadLocaleSeparator() {
  wchar_t separator[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  if (length <= 1) return ".";
  return Utf8Text(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

}  // namespace

const std::string& DecimalSeparator() {
  static const std::string separator = ReadLocaleSeparator();
  return separator;
}

}  // namespace vemra
