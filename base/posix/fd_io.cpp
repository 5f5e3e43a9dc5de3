#include "base/posix/fd_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vemra {

ssize_t ReadFully(int fd, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, buffer + done, size - done);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    done += static_cast<std::size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

// Large writes go in pieces of this size. Handed one call of a hundred
// megabytes, the kernel copies into the page cache many times slower than
// piece by piece (measured: 0.2 s against 0.025 s for 92 MB).
constexpr std::size_t kWritePiece = std::size_t{1} << 20;

// Every this many bytes, the kernel is asked to start writing what was
// written so far to the disk, so that the fsync that follows has little
// left to wait for.
constexpr std::size_t kWritebackStep = std::size_t{8} << 20;

bool WriteFully(int fd, std::string_view bytes) {
  std::size_t written = 0;
  std::size_t writeback_from = 0;
  while (!bytes.empty()) {
    const ssize_t put = write(fd, bytes.data(), std::min(bytes.size(), kWritePiece));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;  // no progress and no reason given
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
    written += static_cast<std::size_t>(put);
#if defined(SYNC_FILE_RANGE_WRITE)
    if (written - writeback_from >= kWritebackStep) {
      // Only a hint: the fsync that follows is what makes the bytes safe.
      sync_file_range(fd, static_cast<off_t>(writeback_from),
                      static_cast<off_t>(written - writeback_from), SYNC_FILE_RANGE_WRITE);
      writeback_from = written;
    }
#endif
  }
  return true;
}

namespace {

// The copy through a buffer, for file systems that cannot copy in the kernel.
bool CopyThroughBuffer(int from, int to, off_t done) {
  std::vector<char> chunk(kWritePiece);
  for (;;) {
    const ssize_t got = pread(from, chunk.data(), chunk.size(), done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (lseek(to, done, SEEK_SET) != done ||
        !WriteFully(to, std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
      return false;
    }
    done += got;
  }
}

}  // namespace

bool CopyWholeFile(int from, int to) {
  // The kernel copies without the bytes passing through this process, and
  // on some file systems without copying the blocks at all.
  off_t in = 0;
  off_t out = 0;
  for (;;) {
    const ssize_t put = copy_file_range(from, &in, to, &out, kWritePiece * 64, 0);
    if (put == 0) return true;
    if (put > 0) continue;
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
        errno == EBADF) {
      return CopyThroughBuffer(from, to, in);
    }
    return false;
  }
}

// Compares in chunks, so that a large file costs no second full-size buffer.
bool HoldsExactly(int fd, std::string_view bytes) {
  std::vector<char> chunk(1 << 20);
  for (;;) {
    const ssize_t got = ReadFully(fd, chunk.data(), chunk.size());
    if (got < 0) return false;
    const auto size = static_cast<std::size_t>(got);
    if (size > bytes.size() || std::memcmp(chunk.data(), bytes.data(), size) != 0) return false;
    bytes.remove_prefix(size);
    if (size < chunk.size()) return bytes.empty();
  }
}

}  // namespace vemra
