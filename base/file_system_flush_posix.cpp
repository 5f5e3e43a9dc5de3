#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "base/file_system_flush.h"
#include "base/posix/unique_fd.h"

namespace vemra {

void FlushFileSystemsOf(const std::vector<std::string>& folders) {
  std::set<std::string> seen_folders;
  std::set<dev_t> flushed;
  for (const std::string& folder : folders) {
    if (!seen_folders.insert(folder).second) continue;
    // Read access is needed: a descriptor opened only as a path cannot
    // start a flush.
    const UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || fstat(fd.Get(), &info) != 0) continue;
    if (flushed.insert(info.st_dev).second) syncfs(fd.Get());
  }
}

}  // namespace vemra
