// The fixed names of the backup that guards a file while a save writes it
// over in place, and what a later run makes of a file under one of them.
// The names are derived from the file's full path alone, the same for every
// build and run on any system, so that a later run finds a backup an
// earlier one left.
#pragma once

#include <string>

namespace vemra {

// Added to the file's own name for the backup beside it: NAME.vemrafmt-backup.
inline constexpr char kBackupSuffix[] = ".vemrafmt-backup";

// The backup's name in a temporary folder, where backups of files from many
// folders meet: "vemrafmt-backup-HASH-NAME", HASH 16 hex digits of an FNV-1a
// hash of the full path, NAME the file's name cut to 64 bytes.
std::string BackupNameInTempFolder(const std::string& full_path);

// What stands under a backup's name.
enum class BackupState {
  kAbsent,   // nothing
  kInUse,    // the backup of a run that writes the file right now
  kLeft,     // a backup left by a save that was cut off
  kForeign,  // something no run of this user's can have made
};

// The reason a load or save gives for what stands at path; empty for
// kAbsent.
std::string BackupStateReason(BackupState state, const std::string& path);

}  // namespace vemra
