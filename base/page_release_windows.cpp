#include "base/page_release.h"

namespace vemra {

// Windows offers no request that gives back the pages of a heap block while
// keeping them readable as zeros; the memory stays until the block is
// freed. The release is only a hint, and here it changes nothing.
void PageRelease::Release(const char* at) {
  (void)at;
}

}  // namespace vemra
