#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/c_number.h"

namespace vemra {

// The C runtime keeps the "C" locale it starts in: the program never sets
// another.
bool ConvertCNumber(const std::string& canonical, long double& value) {
  errno = 0;
  value = std::strtold(canonical.c_str(), nullptr);
  return !(errno == ERANGE && std::isinf(value));
}

}  // namespace vemra
