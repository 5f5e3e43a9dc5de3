#include "base/file_system_flush.h"

namespace vemra {

// Windows flushes a volume only for a process that may administer it; each
// file's own flush does the work alone.
void FlushFileSystemsOf(const std::vector<std::string>& folders) {
  (void)folders;
}

}  // namespace vemra
