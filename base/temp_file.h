// A temporary file created next to another file, in the same folder (so that
// a rename can put it in that file's place), and removed again unless kept.
#pragma once

#include <string>

#include "base/unique_fd.h"

namespace vemra {

class TempFile {
 public:
  // Creates a new, empty file in the folder of neighbour, with the mode a new
  // file would get there. Valid() is false when that is not possible; the
  // system's reason is then in ErrorCode().
  explicit TempFile(const std::string& neighbour);
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Removes the file unless Keep() was called.
  ~TempFile();

  bool Valid() const { return fd_.Valid(); }
  int ErrorCode() const { return error_code_; }
  int Fd() const { return fd_.Get(); }
  const std::string& Path() const { return path_; }
  // Closes the file; false when the close reports that data was lost.
  bool Close() { return fd_.Close(); }
  // The file has been renamed into place, or must stay: do not remove it.
  void Keep() { removed_on_exit_ = false; }

 private:
  std::string path_;             // where the file was created
  UniqueFd fd_;                  // open for reading and writing
  int error_code_ = 0;           // errno of the failed creation
  bool removed_on_exit_ = true;  // the destructor removes path_
};

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

}  // namespace vemra
