// A temporary file created in a given folder (the folder of the file it will
// replace, so that a rename can put it in that file's place), shared with no
// other reader or writer, and removed again unless it was renamed or kept;
// also removed when Ctrl-C, Ctrl-Break or closing the console end the run.
#pragma once

#include <windows.h>

#include <string>

#include "base/windows/interrupt_cleanup.h"
#include "base/windows/unique_handle.h"

namespace vemra {

class TempFile {
 public:
  enum class Access {
    kPrivate,    // the user's alone until given the old file's security
    kInherited,  // what the folder gives a new file, as a direct save would
  };

  // Creates a new, empty file named ".vemrafmt-PID-N.tmp" in folder, a
  // verbatim path (see VerbatimPath). Valid() is false when that is not
  // possible; the system's reason is then in ErrorCode().
  TempFile(const std::wstring& folder, Access access);
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Removes the file unless it was renamed or kept.
  ~TempFile();

  bool Valid() const { return handle_.Valid(); }
  DWORD ErrorCode() const { return error_code_; }
  HANDLE Handle() const { return handle_.Get(); }
  // Closes the file; false when the close failed.
  bool Close() { return handle_.Close(); }
  // Renames the file to path in the same folder, replacing a file of that
  // name or, with no_replace, failing when there is one; the rename is on
  // disk when this returns. On success the file is no longer removed; false
  // with GetLastError() otherwise.
  bool RenameTo(const std::wstring& path, bool no_replace);
  // The file must stay: do not remove it.
  void Keep();

 private:
  std::wstring path_;                // its path; empty when none was made
  UniqueHandle handle_;              // open for reading, writing and removal
  DWORD error_code_ = 0;             // GetLastError() of the failed creation
  bool removed_on_exit_ = true;      // the destructor removes the file
  RemovedOnInterrupt on_interrupt_;  // and so does an interrupt that ends the run
};

}  // namespace vemra
