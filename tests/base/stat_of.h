// What lstat says of a path: permission bits, owner, inode and links, which
// only POSIX systems keep.
#pragma once

#include <sys/stat.h>

#include <string>

namespace vemra::testing {

inline struct stat StatOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

}  // namespace vemra::testing
