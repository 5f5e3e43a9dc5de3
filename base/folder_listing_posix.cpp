#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/folder_listing.h"

namespace vemra {

namespace {

FolderEntry EntryOf(const dirent& entry) {
  FolderEntry listed{entry.d_name, true, FileKind::kOther, false};
  switch (entry.d_type) {
    case DT_REG:
      listed.kind = FileKind::kRegular;
      break;
    case DT_DIR:
      listed.kind = FileKind::kFolder;
      break;
    case DT_LNK:
      listed.kind = FileKind::kLink;
      break;
    case DT_UNKNOWN:
      listed.kind_known = false;  // some file systems do not say
      break;
    default:
      break;
  }
  return listed;
}

}  // namespace

FolderListing ListFolder(const std::string& path, bool follow_link) {
  FolderListing listing;
  const int fd =
      open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow_link ? 0 : O_NOFOLLOW));
  DIR* const stream = fd >= 0 ? fdopendir(fd) : nullptr;
  if (stream == nullptr) {
    listing.error_code = errno;
    if (fd >= 0) close(fd);
    return listing;
  }
  for (;;) {
    errno = 0;
    const dirent* const entry = readdir(stream);
    if (entry == nullptr) {
      listing.error_code = errno;
      break;
    }
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    listing.entries.push_back(EntryOf(*entry));
  }
  closedir(stream);
  return listing;
}

}  // namespace vemra
