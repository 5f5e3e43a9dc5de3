#include "base/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vemra {

namespace {

// Names are tried until one is free; another run may use the same folder.
constexpr int kNameAttempts = 100;

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

TempFile::TempFile(const std::string& neighbour) {
  static unsigned counter = 0;
  const std::string stem = FolderOf(neighbour) + "/.vemrafmt-" + std::to_string(getpid()) + "-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    path_ = stem + std::to_string(counter++) + ".tmp";
    // Mode 0666 lets the umask decide, as for any new file.
    fd_.Reset(open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd_.Valid()) return;
    error_code_ = errno;
    if (error_code_ != EEXIST) break;
  }
  path_.clear();
}

TempFile::~TempFile() {
  fd_.Reset();
  if (removed_on_exit_ && !path_.empty()) unlink(path_.c_str());
}

}  // namespace vemra
