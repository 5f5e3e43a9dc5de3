#include <sys/mman.h>

#include "base/page_release.h"
#include "base/whole_pages.h"

namespace vemra {

void PageRelease::Release(const char* at) {
  const WholePages pages =
      WholePagesWithin(released_, static_cast<std::size_t>(at - kLag - released_));
  if (pages.Empty()) return;
  // MADV_DONTNEED, not MADV_FREE: the pages leave the resident set at once,
  // not only once the system runs short of memory.
  madvise(pages.Start(), pages.Size(), MADV_DONTNEED);
  released_ = reinterpret_cast<char*>(pages.end);
}

}  // namespace vemra
