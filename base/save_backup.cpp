#include "base/save_backup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "base/fd_io.h"
#include "base/file_failures.h"
#include "base/save_target.h"
#include "base/system_error_text.h"

namespace vemra {

namespace {

constexpr char kBesideSuffix[] = ".vemrafmt-backup";
constexpr char kTempFolderPrefix[] = "vemrafmt-backup-";
// Enough of the file's name in the temporary folder for a person to see
// whose backup it is; the hash tells files of the same name apart.
constexpr std::size_t kNameShownInTempFolder = 64;

std::string TempFolderPath() {
  const char* const folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

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

enum class BackupState { kAbsent, kInUse, kLeft };

// A backup in use is locked by the run that writes its file; one that
// cannot even be opened (another user's) counts as left behind.
BackupState StateOf(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.Valid()) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? BackupState::kLeft : BackupState::kAbsent;
  }
  if (flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) return BackupState::kInUse;
  return BackupState::kLeft;
}

std::string ReasonFor(BackupState state, const std::string& path) {
  switch (state) {
    case BackupState::kInUse:
      return SaveInProgressReason(path);
    case BackupState::kLeft:
      return InterruptedSaveReason(path);
    case BackupState::kAbsent:
      break;
  }
  return {};
}

}  // namespace

BackupPlaces BackupPlacesOf(const std::string& full_path) {
  const std::string folder = FolderOf(full_path);
  const std::string name = NameOf(full_path);
  return {(folder == "/" ? "" : folder) + "/" + name + kBesideSuffix,
          TempFolderPath() + "/" + kTempFolderPrefix + Hex(PathHash(full_path)) + "-" +
              name.substr(0, kNameShownInTempFolder)};
}

std::string LeftBackupReason(const std::string& full_path) {
  if (full_path.empty()) return {};
  const BackupPlaces places = BackupPlacesOf(full_path);
  for (const std::string& path : {places.beside, places.in_temp_folder}) {
    const std::string reason = ReasonFor(StateOf(path), path);
    if (!reason.empty()) return reason;
  }
  return {};
}

SaveBackup::SaveBackup(const SaveTarget& target, int source, const std::string& file_name)
    : file_name_(file_name) {
  if (target.full_path.empty()) {
    throw CreateFailure(file_name, NoBackupReason("the full path of its folder cannot be had"));
  }
  const BackupPlaces places = BackupPlacesOf(target.full_path);
  if (TryCopyIn(target.folder.Get(), target.name + kBesideSuffix, places.beside, source)) return;
  const int beside_error = errno;
  temp_folder_.Reset(open(TempFolderPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (temp_folder_.Valid() &&
      TryCopyIn(temp_folder_.Get(), NameOf(places.in_temp_folder), places.in_temp_folder, source)) {
    return;
  }
  throw CreateFailure(
      file_name, NoBackupReason("not beside it (" + SystemErrorText(beside_error) + ") nor in \"" +
                                TempFolderPath() + "\" (" + SystemErrorText(errno) + ")"));
}

SaveBackup::~SaveBackup() = default;

bool SaveBackup::TryCopyIn(int folder_fd, const std::string& fixed_name, const std::string& path,
                           int source) {
  if (fixed_name.size() > NAME_MAX) {
    errno = ENAMETOOLONG;
    return false;
  }
  auto copy = std::make_unique<TempFile>(folder_fd);
  if (!copy->Valid()) {
    errno = copy->ErrorCode();
    return false;
  }
  if (flock(copy->Fd(), LOCK_EX) != 0 || !CopyWholeFile(source, copy->Fd())) {
    const int error = errno;
    copy.reset();
    errno = error;
    return false;
  }
  folder_fd_ = folder_fd;
  fixed_name_ = fixed_name;
  path_ = path;
  copy_ = std::move(copy);
  return true;
}

void SaveBackup::MakeDurable() {
  if (fsync(copy_->Fd()) != 0)
    throw CreateFailure(file_name_, NoBackupReason(SystemErrorText(errno)));
}

void SaveBackup::Place() {
  if (!copy_->RenameTo(fixed_name_, true)) {
    const int error = errno;
    const std::string reason = error == EEXIST ? ReasonFor(StateOf(path_), path_) : "";
    if (!reason.empty()) throw CreateFailure(file_name_, reason);
    throw CreateFailure(file_name_, NoBackupReason(SystemErrorText(error)));
  }
  placed_ = true;
  if (!SyncFolder(folder_fd_)) {
    const int error = errno;
    Remove();  // the file itself is untouched so far
    throw CreateFailure(file_name_, NoBackupReason(SystemErrorText(error)));
  }
}

bool SaveBackup::RestoreInto(int fd) const {
  struct stat info {};
  return fstat(copy_->Fd(), &info) == 0 && CopyWholeFile(copy_->Fd(), fd) &&
         ftruncate(fd, info.st_size) == 0 && fsync(fd) == 0;
}

void SaveBackup::Remove() {
  unlinkat(folder_fd_, fixed_name_.c_str(), 0);
  SyncFolder(folder_fd_);
  placed_ = false;
  copy_.reset();  // releases the lock, now that the name is gone
}

}  // namespace vemra
