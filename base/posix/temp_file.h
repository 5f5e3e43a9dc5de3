// A temporary file created in a given folder (the folder of the file it will
// replace, so that a rename can put it in that file's place), readable by
// its owner only, and removed again unless it was renamed or kept; also
// removed when SIGINT, SIGTERM or SIGHUP end the run.
#pragma once

#include <string>

#include "base/posix/signal_cleanup.h"
#include "base/posix/unique_fd.h"

namespace vemra {

class TempFile {
 public:
  // Creates a new, empty file with mode 0600 in the folder open on
  // folder_fd, which must stay open for the object's life. Valid() is false
  // when that is not possible; the system's reason is then in ErrorCode().
  explicit TempFile(int folder_fd);
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Removes the file unless it was renamed or kept.
  ~TempFile();

  bool Valid() const { return fd_.Valid(); }
  int ErrorCode() const { return error_code_; }
  int Fd() const { return fd_.Get(); }
  // The file's name within its folder.
  const std::string& Name() const { return name_; }
  // Closes the file; false when the close reports that data was lost.
  bool Close() { return fd_.Close(); }
  // Renames the file to name in the same folder, replacing a file of that
  // name or, with no_replace, failing with EEXIST when there is one. On
  // success the file is no longer removed; false with errno otherwise.
  bool RenameTo(const std::string& name, bool no_replace);
  // The file must stay: do not remove it.
  void Keep();

 private:
  int folder_fd_;                // the folder the file is in
  std::string name_;             // its name there; empty when none was made
  UniqueFd fd_;                  // open for reading and writing
  int error_code_ = 0;           // errno of the failed creation
  bool removed_on_exit_ = true;  // the destructor removes the file
  RemovedOnSignal on_signal_;    // and so does a signal that ends the run
};

}  // namespace vemra
