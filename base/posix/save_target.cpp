#include "base/posix/save_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "base/file_failures.h"

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

// The path a direct write to file_name would reach. A relative link target
// is joined to the link's folder as text and left for the file system to
// resolve, as it would resolve it when opening the link.
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

// The folder for the save's own files; a folder that may not be listed can
// still be written in, through a descriptor that only names it.
UniqueFd OpenFolder(const std::string& path) {
  UniqueFd folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.Valid() && errno == EACCES) {
    folder.Reset(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  }
  return folder;
}

}  // namespace

SaveTarget ResolveSaveTarget(const std::string& file_name) {
  SaveTarget target;
  const std::string path = FollowLinks(file_name);
  target.folder_path = FolderOf(path);
  target.name = NameOf(path);
  target.folder = OpenFolder(target.folder_path);
  if (!target.folder.Valid()) throw CreateFailure(file_name, errno);
  const std::string folder = ResolvedPath(target.folder_path);
  if (!folder.empty()) target.full_path = (folder == "/" ? "" : folder) + "/" + target.name;
  return target;
}

bool SyncFolder(int fd) {
  return fsync(fd) == 0 || errno == EBADF || errno == EINVAL;
}

}  // namespace vemra
