#include <langinfo.h>
#include <locale.h>

#include "base/decimal_separator.h"

namespace vemra {

namespace {

std::string ReadLocaleSeparator() {
  const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return ".";
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  std::string separator = radix != nullptr && *radix != '\0' ? radix : ".";
  freelocale(user);
  return separator;
}

}  // namespace

const std::string& DecimalSeparator() {
  static const std::string separator = ReadLocaleSeparator();
  return separator;
}

}  // namespace vemra
