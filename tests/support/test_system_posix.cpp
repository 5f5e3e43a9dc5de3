#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/test_system.h"

namespace vemra::testing {

bool OnLinux() {
  return true;
}

std::string NotFoundText() {
  return "No such file or directory";
}

std::string FolderNotFoundText() {
  return "No such file or directory";
}

char PathSeparator() {
  return '/';
}

std::string NewPrivateFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

std::FILE* NewTemporaryFile() {
  return std::tmpfile();
}

void SetVariable(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

void UnsetVariable(const std::string& name) {
  unsetenv(name.c_str());
}

bool MakeFifo(const std::string& path) {
  return mkfifo(path.c_str(), 0600) == 0;
}

bool MakePipe(int fds[2]) {
  return pipe(fds) == 0;
}

void CloseDescriptor(int fd) {
  close(fd);
}

void BecomeUnprivileged() {
  if (geteuid() != 0) return;
  if (setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0) _exit(4);
}

FileTime ModifiedTime(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

std::optional<unsigned> PermissionBits(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return std::nullopt;
  return info.st_mode & 07777;
}

void SetModifiedTime(const std::string& path, std::int64_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace vemra::testing
