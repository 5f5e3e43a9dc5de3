// The backup of a file's old bytes that a save keeps while it writes over the
// file in place. It has a fixed name, derived from the file's full path, so
// that any later run finds it:
//
//   beside the file           NAME.vemrafmt-backup
//   or, where the folder      $TMPDIR/vemrafmt-UID/vemrafmt-backup-HASH-NAME
//   refuses it                (TMPDIR, else /tmp; vemrafmt-UID the user's own
//                             folder, see private_temp_folder.h; HASH: 16
//                             hex digits of the full path, NAME cut to 64
//                             bytes)
//
// A file under one of these names always holds the complete old bytes: the
// copy is written under a temporary name, flushed, and only then renamed.
// It is its user's alone (mode 0600), and only such a file counts as a
// backup. While a save uses it, the backup is locked; a backup found
// unlocked was left by a save that was cut off, and is never removed by the
// program.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "base/posix/temp_file.h"
#include "base/posix/unique_fd.h"

namespace vemra {

struct SaveTarget;

// The two places where the backup of the file with this full path may be.
struct BackupPlaces {
  std::string beside;
  std::string in_temp_folder;
  // Where earlier versions kept it: $TMPDIR/vemrafmt-backup-HASH-NAME.
  std::string in_shared_folder;
};
BackupPlaces BackupPlacesOf(const std::string& full_path);

// Why the file with this full path must not be loaded or saved: the reason
// for a failure message when a backup of it is there (left by an interrupted
// save, or in use by another run right now), or something that is no backup
// stands under a backup's name beside the file or in the user's own folder;
// empty otherwise. owner: the file's owner, whose runs' backups count as
// well as this user's (the user's own id for a file not there yet).
std::string LeftBackupReason(const std::string& full_path, uid_t owner);

class SaveBackup {
 public:
  // Copies the old bytes of the file open on source (read from its start)
  // to a private temporary file beside target, or in the user's own folder
  // in the temporary folder when target's folder refuses it. Throws EFCreateError naming file_name
  // when neither place takes a complete copy.
  SaveBackup(const SaveTarget& target, int source, const std::string& file_name);
  SaveBackup(const SaveBackup&) = delete;
  SaveBackup& operator=(const SaveBackup&) = delete;
  // A backup that was placed is never removed here: it may hold the only
  // copy of the old bytes. One that was not is removed.
  ~SaveBackup();

  // Flushes the copy to disk; throws EFCreateError when it cannot be.
  void MakeDurable();
  // Puts the copy under the backup's fixed name and flushes the folder. From
  // then on the backup stays until Remove. Throws EFCreateError when a
  // backup of the file is already there.
  void Place();
  // Writes the old bytes back over the file open on fd and flushes it; false
  // with errno when that fails.
  bool RestoreInto(int fd) const;
  // Removes the placed backup, once the file is complete again.
  void Remove();
  // Where the placed backup is.
  const std::string& Path() const { return path_; }

 private:
  bool TryCopyIn(int folder_fd, const std::string& fixed_name, const std::string& path, int source);

  const std::string file_name_;     // the file saved, for messages
  UniqueFd temp_folder_;            // the temporary folder, when the copy is there
  int folder_fd_ = -1;              // the folder the copy is in
  std::string fixed_name_;          // the backup's name in that folder
  std::string path_;                // its full path
  std::unique_ptr<TempFile> copy_;  // the copy, locked while this object lives
  bool placed_ = false;             // the copy stands under the fixed name
};

}  // namespace vemra
