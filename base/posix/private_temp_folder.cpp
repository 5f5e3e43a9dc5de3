#include "base/posix/private_temp_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/system_error_text.h"

namespace vemra {

namespace {

bool IsPrivateFolder(const struct stat& info, uid_t user) {
  return S_ISDIR(info.st_mode) && info.st_uid == user && (info.st_mode & 07777) == 0700;
}

PrivateTempFolder Failure(std::string reason) {
  PrivateTempFolder folder;
  folder.failure = std::move(reason);
  return folder;
}

}  // namespace

std::string SharedTempFolder() {
  const char* const folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

std::string PrivateTempFolderPath(uid_t user) {
  return SharedTempFolder() + "/vemrafmt-" + std::to_string(user);
}

PrivateTempFolder OpenPrivateTempFolder(uid_t user, bool create) {
  const std::string path = PrivateTempFolderPath(user);
  // A umask may take bits off the mode; a folder made here gets 0700 all
  // the same, through the descriptor that names this very folder.
  bool made = false;
  if (create && user == geteuid()) {
    made = mkdir(path.c_str(), 0700) == 0;
    if (!made && errno != EEXIST) return Failure(SystemErrorText(errno));
  }
  PrivateTempFolder folder;
  folder.fd.Reset(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!folder.fd.Valid()) {
    const int error = errno;
    if (error == ENOENT) {
      folder.missing = true;
      folder.failure = SystemErrorText(error);
      return folder;
    }
    // O_NOFOLLOW on a link gives ELOOP; O_DIRECTORY on a file ENOTDIR.
    if (error == ELOOP || error == ENOTDIR) return Failure("not a private folder of this user's");
    return Failure(SystemErrorText(error));
  }
  struct stat info {};
  if (made) fchmod(folder.fd.Get(), 0700);
  if (fstat(folder.fd.Get(), &info) != 0) return Failure(SystemErrorText(errno));
  if (!IsPrivateFolder(info, user)) return Failure("not a private folder of this user's");
  return folder;
}

bool IsPrivateFile(const struct stat& info, uid_t user) {
  return S_ISREG(info.st_mode) && info.st_uid == user && (info.st_mode & 07777) == 0600;
}

}  // namespace vemra
