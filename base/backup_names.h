// The fixed names of the backup that guards a file while a save writes it
// over in place. They are derived from the file's full path alone, the same
// for every build and run on any system, so that a later run finds a backup
// an earlier one left.
#pragma once

#include <string>

namespace vemra {

// Added to the file's own name for the backup beside it: NAME.vemrafmt-backup.
inline constexpr char kBackupSuffix[] = ".vemrafmt-backup";

// The backup's name in a temporary folder, where backups of files from many
// folders meet: "vemrafmt-backup-HASH-NAME", HASH 16 hex digits of an FNV-1a
// hash of the full path, NAME the file's name cut to 64 bytes.
std::string BackupNameInTempFolder(const std::string& full_path);

}  // namespace vemra
