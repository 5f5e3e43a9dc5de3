#include <sys/resource.h>

#include <algorithm>

#include "base/descriptor_limit.h"

namespace vemra {

std::size_t RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1 << 16);
    if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  return static_cast<std::size_t>(std::min<rlim_t>(limit.rlim_cur, 1 << 16));
}

}  // namespace vemra
