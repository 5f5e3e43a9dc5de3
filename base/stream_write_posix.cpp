#include <cerrno>

#include "base/posix/fd_io.h"
#include "base/stream_write.h"

namespace vemra {

int WriteToStream(int fd, std::string_view bytes) {
  return WriteFully(fd, bytes) ? 0 : errno;
}

}  // namespace vemra
