#include <unistd.h>

#include "base/whole_pages.h"

namespace vemra {

WholePages WholePagesWithin(const char* begin, std::size_t size) {
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  return {(start + page - 1) / page * page, (start + size) / page * page};
}

}  // namespace vemra
