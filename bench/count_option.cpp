#include "bench/count_option.h"

#include <stdexcept>

#include "base/failures.h"

namespace vemra {

std::size_t ParseCount(const std::string& name, const std::string& value) {
  // Digits only: stoull alone would skip leading blanks and take a minus,
  // wrapping "-1" round to the largest count.
  const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
  try {
    if (digits) return static_cast<std::size_t>(std::stoull(value));
  } catch (const std::out_of_range&) {
  }
  throw Exception("option " + name + " needs a number, not '" + value + "'");
}

}  // namespace vemra
