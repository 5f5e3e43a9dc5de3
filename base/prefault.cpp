#include "base/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace vemra {

void PrefaultForWriting(const char* begin, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  const std::uintptr_t first = (start + page - 1) / page * page;
  const std::uintptr_t last = (start + size) / page * page;
  // A kernel too old for the request refuses it, and nothing changes.
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)begin;
  (void)size;
#endif
}

}  // namespace vemra
