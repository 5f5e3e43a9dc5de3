// A save in stages, so that a caller saving many files can write all their
// new bytes first, flush them together, and only then put them in place:
//
//   constructor   checks the target and writes the new bytes to a private
//                 temporary file beside it; where the file must be written
//                 over in place, copies its old bytes to a private backup
//   MakeDurable   flushes that file to disk
//   Commit        checks that the target is still as it was loaded (or, for
//                 another file, as the constructor found it), gives the new
//                 file the old one's owner, extended attributes and
//                 permission bits, and renames it into place; or writes over
//                 the file in place, guarded by the backup
//   FlushFolder   flushes the folder, so that the rename survives a crash
//
// On Windows the new file takes the old one's owner, access list and
// attributes already in the constructor, and the rename is on disk when
// Commit returns, which leaves FlushFolder nothing to do.
//
// WriteFileSafely runs the four in sequence. A file is written over in place
// when it has several hard links, when no new file can be made beside it,
// and when the new file cannot be given the old one's owner or attributes
// (or, on Windows, the old one may be written but not removed).
//
// Each stage throws EFCreateError or EWriteError, naming the file; a save
// that fails, or is destroyed before Commit, leaves the target as it was and
// no temporary file behind. The new bytes must stay valid until Commit
// returns. A pending save holds up to four descriptors (or handles) open
// until it is destroyed.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/file_identity.h"

namespace vemra {

class PendingSave {
 public:
  // loaded: the file the bytes were loaded from, if any. When the target is
  // that file, it must still be exactly as it was loaded; when it already
  // holds exactly bytes, nothing is written at all.
  PendingSave(const std::string& file_name, std::string_view bytes, const LoadedFile* loaded);
  PendingSave(const PendingSave&) = delete;
  PendingSave& operator=(const PendingSave&) = delete;
  ~PendingSave();

  void MakeDurable();
  void Commit();
  void FlushFolder();

 private:
  // The stages as the system carries them out: its files, folders and the
  // calls that make them durable.
  class Route;
  std::unique_ptr<Route> route_;
};

}  // namespace vemra
