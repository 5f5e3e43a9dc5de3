#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/c_number.h"

namespace vemra {

bool ConvertCNumber(const std::string& canonical, long double& value) {
  static const locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  errno = 0;
  value = strtold_l(canonical.c_str(), nullptr, c_locale);
  return !(errno == ERANGE && std::isinf(value));
}

}  // namespace vemra
