// Which file on disk a path names and in what state it was seen, so that a
// save can tell whether it would write over the very file that was loaded,
// and whether anyone changed that file in the meantime.
#pragma once

#include <cstdint>
#include <string>

namespace vemra {

struct FileIdentity {
  std::uint64_t device = 0;   // the file system the file lives on
  std::uint64_t file = 0;     // the file within it
  std::int64_t size = 0;      // its length in bytes
  std::int64_t modified = 0;  // last change of its bytes, in nanoseconds
  std::int64_t changed = 0;   // last change of its bytes or attributes, in nanoseconds

  bool SameFile(const FileIdentity& other) const {
    return device == other.device && file == other.file;
  }
  // The same file, and nothing about it changed.
  bool operator==(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && modified == other.modified &&
           changed == other.changed;
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
