#include "base/posix/regular_file.h"

#include <fcntl.h>

#include <cerrno>

namespace vemra {

namespace {

RegularFile Refused() {
  RegularFile file;
  file.not_regular = true;
  return file;
}

RegularFile Failed(int error_code) {
  RegularFile file;
  file.error_code = error_code;
  return file;
}

}  // namespace

RegularFile OpenRegularFile(int folder, const char* name, int access) {
  struct stat seen {};
  if (fstatat(folder, name, &seen, 0) != 0) return Failed(errno);
  if (!S_ISREG(seen.st_mode)) return Refused();
  const int flags = access | O_CLOEXEC | O_NOCTTY;
  RegularFile file;
  file.fd.Reset(openat(folder, name, flags | O_NONBLOCK));
  // Another program's lease on the file refuses an open that may not wait;
  // wait for its holder then, as any other program would.
  if (!file.fd.Valid() && errno == EWOULDBLOCK) file.fd.Reset(openat(folder, name, flags));
  if (!file.fd.Valid()) return Failed(errno);
  if (fstat(file.fd.Get(), &file.info) != 0) return Failed(errno);
  if (!S_ISREG(file.info.st_mode)) return Refused();
  // Reads and writes of a regular file never wait anyway; the flag is
  // cleared so that nothing later depends on it.
  fcntl(file.fd.Get(), F_SETFL, fcntl(file.fd.Get(), F_GETFL) & ~O_NONBLOCK);
  return file;
}

}  // namespace vemra
