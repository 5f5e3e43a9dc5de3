// The backup of a file's old bytes that a save keeps while it writes over the
// file in place. It has a fixed name, derived from the file's full path, so
// that any later run finds it (see backup_names.h):
//
//   beside the file          NAME.vemrafmt-backup
//   or, where the folder     vemrafmt-backup-HASH-NAME in the user's
//   refuses it               temporary folder (GetTempPathW)
//
// A file under one of these names always holds the complete old bytes: the
// copy is written under a temporary name, flushed, and only then renamed.
// It is made with a security descriptor that lets only its user open it,
// and only a regular file that this user's runs (or a run of the saved
// file's owner) can have made counts as a backup. While a save uses it, the
// backup is held open without sharing its bytes, so another run cannot open
// it; a backup that opens was left by a save that was cut off, and is never
// removed by the program.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/windows/file_security.h"
#include "base/windows/temp_file.h"

namespace vemra {

struct SaveTarget;

// The two places where the backup of the file with this full path may be.
struct BackupPlaces {
  std::string beside;
  std::string in_temp_folder;  // empty when the temporary folder is unknown
};
BackupPlaces BackupPlacesOf(const std::string& full_path);

// Why the file with this full path must not be loaded or saved: the reason
// for a failure message when a backup of it is there (left by an interrupted
// save, or in use by another run right now), or something that is no backup
// stands under a backup's name; empty otherwise. owner: the file's owner,
// whose runs' backups beside it count as well as this user's (nullopt for a
// file not there yet).
std::string LeftBackupReason(const std::string& full_path, const std::optional<Sid>& owner);

class SaveBackup {
 public:
  // Copies the old bytes of the file open on source to a private temporary
  // file beside target, or in the user's temporary folder when target's
  // folder refuses it. Throws EFCreateError naming file_name when neither
  // place takes a complete copy.
  SaveBackup(const SaveTarget& target, HANDLE source, const std::string& file_name);
  SaveBackup(const SaveBackup&) = delete;
  SaveBackup& operator=(const SaveBackup&) = delete;
  // A backup that was placed is never removed here: it may hold the only
  // copy of the old bytes. One that was not is removed.
  ~SaveBackup();

  // Flushes the copy to disk; throws EFCreateError when it cannot be.
  void MakeDurable();
  // Puts the copy under the backup's fixed name, on disk when this returns.
  // From then on the backup stays until Remove. Throws EFCreateError when a
  // backup of the file is already there.
  void Place();
  // Writes the old bytes back over the file open on handle and flushes it;
  // false with GetLastError() when that fails.
  bool RestoreInto(HANDLE handle) const;
  // Removes the placed backup, once the file is complete again.
  void Remove();
  // Where the placed backup is.
  const std::string& Path() const { return path_; }

 private:
  bool TryCopyIn(const std::wstring& folder, const std::string& path, HANDLE source);

  const std::string file_name_;     // the file saved, for messages
  std::string path_;                // the backup's full path
  std::unique_ptr<TempFile> copy_;  // the copy, held open while this object lives
  bool placed_ = false;             // the copy stands under the fixed name
};

}  // namespace vemra
