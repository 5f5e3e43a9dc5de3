// Which file on disk a path names, so that a save can tell whether it would
// write over the very file that was loaded.
#pragma once

#include <sys/types.h>

namespace vemra {

struct FileIdentity {
  dev_t device;  // the file system the file lives on
  ino_t inode;   // the file within it

  bool operator==(const FileIdentity&) const = default;
};

}  // namespace vemra
