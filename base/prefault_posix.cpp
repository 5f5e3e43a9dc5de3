#include <sys/mman.h>

#include "base/prefault.h"
#include "base/whole_pages.h"

namespace vemra {

void PrefaultForWriting(const char* begin, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  const WholePages pages = WholePagesWithin(begin, size);
  // A kernel too old for the request refuses it, and nothing changes.
  if (!pages.Empty()) madvise(pages.Start(), pages.Size(), MADV_POPULATE_WRITE);
#else
  (void)begin;
  (void)size;
#endif
}

}  // namespace vemra
