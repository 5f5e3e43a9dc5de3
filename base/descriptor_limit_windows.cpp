#include "base/descriptor_limit.h"

namespace vemra {

// Files are opened as handles, which the system does not ration the way
// POSIX rations descriptors; the run's own caps are what limits them.
std::size_t RaiseDescriptorLimit() {
  return std::size_t{1} << 16;
}

}  // namespace vemra
