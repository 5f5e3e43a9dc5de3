#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/file_kind.h"
#include "base/posix/stat_identity.h"
#include "base/posix/unique_fd.h"

namespace vemra {

namespace {

PathLook LookOf(const struct stat& info) {
  const FileKind kind = S_ISREG(info.st_mode)   ? FileKind::kRegular
                        : S_ISDIR(info.st_mode) ? FileKind::kFolder
                        : S_ISLNK(info.st_mode) ? FileKind::kLink
                                                : FileKind::kOther;
  return {0, false, kind, IdentityOf(info)};
}

PathLook Failed(int error_code) {
  PathLook look;
  look.error_code = error_code;
  look.missing = error_code == ENOENT || error_code == ENOTDIR;
  return look;
}

}  // namespace

PathLook LookAt(const std::string& path, bool follow_links) {
  struct stat info {};
  const int looked = follow_links ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
  return looked == 0 ? LookOf(info) : Failed(errno);
}

PathLook LookByOpening(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat info {};
  if (!fd.Valid() || fstat(fd.Get(), &info) != 0) return Failed(errno);
  return LookOf(info);
}

}  // namespace vemra
