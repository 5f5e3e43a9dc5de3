// Which file on disk a path names and in what state it was seen, so that a
// save can tell whether it would write over the very file that was loaded,
// and whether anyone changed that file in the meantime.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <string>

namespace vemra {

struct FileIdentity {
  dev_t device = 0;     // the file system the file lives on
  ino_t inode = 0;      // the file within it
  off_t size = 0;       // its length in bytes
  timespec modified{};  // last change of its bytes
  timespec changed{};   // last change of its bytes or attributes

  static FileIdentity Of(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
  }
  bool SameFile(const FileIdentity& other) const {
    return device == other.device && inode == other.inode;
  }
  // The same file, and nothing about it changed.
  bool operator==(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && SameTime(modified, other.modified) &&
           SameTime(changed, other.changed);
  }

 private:
  static bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
  }
};

// A file as a load found it: where it lives, with every symbolic link and
// ".." resolved by the file system (empty when that could not be had), and
// what it was at the time.
struct LoadedFile {
  std::string path;
  FileIdentity identity;
};

}  // namespace vemra
