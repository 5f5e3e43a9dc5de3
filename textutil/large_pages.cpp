#include "textutil/large_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace vemra {

namespace {

constexpr std::uintptr_t kLargePageSize = std::uintptr_t{2} << 20;

// Smaller buffers would gain little and might not hold one whole large page.
constexpr std::size_t kMinAdvisedSize = std::size_t{4} << 20;

}  // namespace

void AdviseLargePages(const void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  if (size < kMinAdvisedSize) return;
  // Only whole large pages inside the buffer can be backed by one.
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kLargePageSize - 1) & ~(kLargePageSize - 1);
  const std::uintptr_t last = (start + size) & ~(kLargePageSize - 1);
  if (first >= last) return;
  // The advice is a hint; a system that refuses it just keeps small pages.
  madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace vemra
