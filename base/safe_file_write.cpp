#include "base/safe_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/fd_io.h"
#include "base/file_failures.h"
#include "base/temp_file.h"
#include "base/unique_fd.h"

namespace vemra {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

// The target of a symbolic link, as stored in it.
bool ReadLinkText(const std::string& path, std::string& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The path a direct write to file_name would reach: symbolic links are
// followed, so that the file they point to is replaced and the links stay.
std::string FollowLinks(const std::string& file_name) {
  std::string path = file_name;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    std::string target;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) || !ReadLinkText(path, target)) {
      return path;
    }
    path = !target.empty() && target.front() == '/' ? target : FolderOf(path) + "/" + target;
  }
  throw CreateFailure(file_name, ELOOP);
}

// Flushes a folder so that a rename in it survives a crash; best effort.
void SyncFolder(const std::string& path) {
  const UniqueFd folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) fsync(folder.Get());
}

// Gives the new file the owner and permission bits of the one it replaces.
// False when the owner cannot be kept (only the superuser may give a file
// away): the caller then writes in place rather than change the owner.
bool TakeOverAttributes(int fd, const struct stat& old) {
  struct stat now {};
  if (fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      fchown(fd, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  return fchmod(fd, old.st_mode & 07777) == 0;
}

// Writes bytes to a new file beside target and renames it over target.
// Returns false, with nothing changed, when no such file can be made or the
// old file's owner cannot be kept; errno then holds the reason.
bool ReplaceByRename(const std::string& file_name, const std::string& target,
                     std::string_view bytes, const struct stat* old) {
  TempFile temp(target);
  if (!temp.Valid()) {
    errno = temp.ErrorCode();
    return false;
  }
  if (old != nullptr && !TakeOverAttributes(temp.Fd(), *old)) {
    errno = EPERM;
    return false;
  }
  if (!WriteFully(temp.Fd(), bytes) || fsync(temp.Fd()) != 0 || !temp.Close()) {
    throw WriteFailure();
  }
  if (rename(temp.Path().c_str(), target.c_str()) != 0) throw CreateFailure(file_name, errno);
  temp.Keep();
  SyncFolder(target);
  return true;
}

// Puts bytes at the start of the open file and cuts it to their length.
bool Overwrite(int fd, std::string_view bytes) {
  return lseek(fd, 0, SEEK_SET) == 0 && WriteFully(fd, bytes) &&
         ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
}

// Reads the whole current content of a file, if it can be read.
bool ReadCurrent(const std::string& target, std::string& content) {
  const UniqueFd fd(open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  struct stat info {};
  if (!fd.Valid() || fstat(fd.Get(), &info) != 0) return false;
  content.resize(static_cast<std::size_t>(info.st_size));
  return ReadFully(fd.Get(), content.data(), content.size()) == info.st_size;
}

// Writes over the file itself, which keeps its hard links, owner and every
// other attribute. The old content is kept in memory and, where the folder
// allows, in a backup file beside it until the new content is on disk; a
// failed write puts the old content back. If even that fails the backup file
// stays, as the one remaining copy.
void RewriteInPlace(int fd, const std::string& target, std::string_view bytes) {
  std::string old;
  const bool have_old = ReadCurrent(target, old);
  TempFile backup(target);
  if (have_old && backup.Valid() && (!WriteFully(backup.Fd(), old) || fsync(backup.Fd()) != 0)) {
    throw WriteFailure();  // the file itself is untouched so far
  }
  if (Overwrite(fd, bytes)) return;
  if (!(have_old && Overwrite(fd, old))) backup.Keep();
  throw WriteFailure();
}

}  // namespace

void WriteFileSafely(const std::string& file_name, std::string_view bytes,
                     const std::optional<FileIdentity>& unchanged_if) {
  if (!file_name.empty() && file_name.back() == '/') throw CreateFailure(file_name, EISDIR);
  const std::string target = FollowLinks(file_name);
  struct stat old {};
  if (stat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) throw CreateFailure(file_name, errno);
    if (!ReplaceByRename(file_name, target, bytes, nullptr)) throw CreateFailure(file_name, errno);
    return;
  }
  if (S_ISDIR(old.st_mode)) throw CreateFailure(file_name, EISDIR);
  // Opening for writing asks the permission question a direct write would:
  // a rename must not get round the file's own protection.
  const UniqueFd existing(open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  if (!existing.Valid()) throw CreateFailure(file_name, errno);
  if (!S_ISREG(old.st_mode)) {
    // A device or pipe is written to, never replaced by a regular file.
    if (!WriteFully(existing.Get(), bytes)) throw WriteFailure();
    return;
  }
  if (unchanged_if == FileIdentity{old.st_dev, old.st_ino}) {
    const UniqueFd reader(open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (static_cast<std::size_t>(old.st_size) == bytes.size() && reader.Valid() &&
        HoldsExactly(reader.Get(), bytes)) {
      return;
    }
  }
  if (old.st_nlink > 1 || !ReplaceByRename(file_name, target, bytes, &old)) {
    RewriteInPlace(existing.Get(), target, bytes);
  }
}

}  // namespace vemra
