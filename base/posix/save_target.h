// Where a save of a file name lands: the folder and the name in it that a
// direct write to the name would reach. Symbolic links are followed, so that
// the file they point to is replaced and the links stay; ".." and every link
// on the way are resolved by the file system, never by the text of the name.
#pragma once

#include <string>

#include "base/path_parts.h"
#include "base/posix/unique_fd.h"

namespace vemra {

struct SaveTarget {
  std::string folder_path;  // the folder, as a path the file system resolves
  UniqueFd folder;          // open on it: what the save's files are made in
  std::string name;         // the file's name in the folder
  // The folder's full path as the file system resolves it, "/" and the
  // name: how the file is known to its backup and to the load. Empty when
  // the folder's path cannot be had.
  std::string full_path;
};

// Throws EFCreateError, naming file_name, when the folder is missing or not
// a folder, or the links form a loop.
SaveTarget ResolveSaveTarget(const std::string& file_name);

// Flushes the folder open on fd, so that names made or removed in it survive
// a crash. True also where the folder cannot be flushed through this
// descriptor (opened for its path only); false on an error of the disk.
bool SyncFolder(int fd);

}  // namespace vemra
