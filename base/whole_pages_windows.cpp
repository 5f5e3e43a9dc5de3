#include <windows.h>

#include "base/whole_pages.h"

namespace vemra {

WholePages WholePagesWithin(const char* begin, std::size_t size) {
  static const std::uintptr_t page = [] {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return static_cast<std::uintptr_t>(info.dwPageSize);
  }();
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  return {(start + page - 1) / page * page, (start + size) / page * page};
}

}  // namespace vemra
