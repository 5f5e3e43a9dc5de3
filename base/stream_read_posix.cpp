#include <unistd.h>

#include <cerrno>

#include "base/stream_read.h"

namespace vemra {

long ReadFromStream(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = read(fd, buffer, size);
    if (got >= 0) return static_cast<long>(got);
    if (errno != EINTR) return -1;
  }
}

}  // namespace vemra
