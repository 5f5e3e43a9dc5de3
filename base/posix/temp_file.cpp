#include "base/posix/temp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace vemra {

namespace {

// Names are tried until one is free; another run may use the same folder.
constexpr int kNameAttempts = 100;

// A rename that fails when the new name is taken, for file systems that do
// not offer one: a second link, made only if the name is free, and the old
// name removed; or, where even links are missing, a look first.
int RenameNoReplaceByHand(int folder_fd, const char* from, const char* to) {
  if (linkat(folder_fd, from, folder_fd, to, 0) == 0) return unlinkat(folder_fd, from, 0);
  if (errno == EEXIST) return -1;
  struct stat info {};
  if (fstatat(folder_fd, to, &info, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return renameat(folder_fd, from, folder_fd, to);
}

}  // namespace

TempFile::TempFile(int folder_fd) : folder_fd_(folder_fd) {
  static std::atomic<unsigned> counter = 0;
  const std::string stem = ".vemrafmt-" + std::to_string(getpid()) + "-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name_ = stem + std::to_string(counter++) + ".tmp";
    // Private until the save is complete: its owner alone may read it,
    // whatever the file it replaces allows.
    fd_.Reset(
        openat(folder_fd_, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (fd_.Valid()) {
      on_signal_.Register(folder_fd_, name_);
      return;
    }
    error_code_ = errno;
    if (error_code_ != EEXIST) break;
  }
  name_.clear();
}

TempFile::~TempFile() {
  fd_.Reset();
  if (removed_on_exit_ && !name_.empty()) unlinkat(folder_fd_, name_.c_str(), 0);
  on_signal_.Unregister();
}

bool TempFile::RenameTo(const std::string& name, bool no_replace) {
  int result = 0;
  if (!no_replace) {
    result = renameat(folder_fd_, name_.c_str(), folder_fd_, name.c_str());
  } else {
    result = renameat2(folder_fd_, name_.c_str(), folder_fd_, name.c_str(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      result = RenameNoReplaceByHand(folder_fd_, name_.c_str(), name.c_str());
    }
  }
  if (result != 0) return false;
  // The handler may still remove the old name in between; it is gone, so
  // that does nothing.
  Keep();
  return true;
}

void TempFile::Keep() {
  removed_on_exit_ = false;
  on_signal_.Unregister();
}

}  // namespace vemra
