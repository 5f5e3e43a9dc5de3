#include "base/backup_names.h"

#include <cstdint>

#include "base/file_failures.h"
#include "base/path_parts.h"

namespace vemra {

namespace {

constexpr char kTempFolderPrefix[] = "vemrafmt-backup-";
// Enough of the file's name in the temporary folder for a person to see
// whose backup it is; the hash tells files of the same name apart.
constexpr std::size_t kNameShownInTempFolder = 64;

// FNV-1a: the same for every build and run, so that a later run of another
// build still finds the backup.
std::uint64_t PathHash(const std::string& path) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char byte : path) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3u;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return text;
}

}  // namespace

std::string BackupNameInTempFolder(const std::string& full_path) {
  return kTempFolderPrefix + Hex(PathHash(full_path)) + "-" +
         NameOf(full_path).substr(0, kNameShownInTempFolder);
}

std::string BackupStateReason(BackupState state, const std::string& path) {
  switch (state) {
    case BackupState::kInUse:
      return SaveInProgressReason(path);
    case BackupState::kLeft:
      return InterruptedSaveReason(path);
    case BackupState::kForeign:
      return ForeignBackupReason(path);
    case BackupState::kAbsent:
      break;
  }
  return {};
}

}  // namespace vemra
