#include "base/posix/save_backup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>

#include "base/backup_names.h"
#include "base/file_failures.h"
#include "base/posix/fd_io.h"
#include "base/posix/private_temp_folder.h"
#include "base/posix/save_target.h"
#include "base/system_error_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// Only a file that a run of one of the trusted users can have made counts
// as a backup: a regular file of theirs that only they may read, reached by
// no link. Anything else under a backup's name is foreign, and its bytes
// are never offered as a file's old bytes. A backup in use is locked by the
// run that writes its file.
BackupState StateOf(const std::string& path, std::initializer_list<uid_t> trusted) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat info {};
  if (!fd.Valid()) {
    return lstat(path.c_str(), &info) == 0 ? BackupState::kForeign : BackupState::kAbsent;
  }
  if (fstat(fd.Get(), &info) != 0 ||
      std::none_of(trusted.begin(), trusted.end(),
                   [&info](uid_t user) { return IsPrivateFile(info, user); })) {
    return BackupState::kForeign;
  }
  if (flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) return BackupState::kInUse;
  return BackupState::kLeft;
}

}  // namespace

BackupPlaces BackupPlacesOf(const std::string& full_path) {
  const std::string folder = FolderOf(full_path);
  return {(folder == "/" ? "" : folder) + "/" + NameOf(full_path) + kBackupSuffix,
          PrivateTempFolderPath(geteuid()) + "/" + BackupNameInTempFolder(full_path),
          SharedTempFolder() + "/" + BackupNameInTempFolder(full_path)};
}

std::string LeftBackupReason(const std::string& full_path, uid_t owner) {
  if (full_path.empty()) return {};
  const uid_t self = geteuid();
  const BackupPlaces places = BackupPlacesOf(full_path);
  std::string reason = BackupStateReason(StateOf(places.beside, {self, owner}), places.beside);
  // In the temporary folder, a backup is in the folder of the user whose
  // run made it: this user's, or the file owner's. Such a folder is looked
  // into only when it really is that user's.
  const auto look_in_folder_of = [&full_path, &reason](uid_t user) {
    if (!reason.empty() || !OpenPrivateTempFolder(user, false).failure.empty()) return;
    const std::string path = PrivateTempFolderPath(user) + "/" + BackupNameInTempFolder(full_path);
    reason = BackupStateReason(StateOf(path, {user}), path);
  };
  look_in_folder_of(self);
  if (owner != self) look_in_folder_of(owner);
  if (reason.empty()) {
    // Earlier versions kept backups in the shared folder itself, where
    // anyone may put a file of that name: only a backup of one of the two
    // counts there, and anything else is passed over.
    const BackupState state = StateOf(places.in_shared_folder, {self, owner});
    if (state != BackupState::kForeign) reason = BackupStateReason(state, places.in_shared_folder);
  }
  return reason;
}

SaveBackup::SaveBackup(const SaveTarget& target, int source, const std::string& file_name)
    : file_name_(file_name) {
  if (target.full_path.empty()) {
    throw CreateFailure(file_name, NoBackupReason("the full path of its folder cannot be had"));
  }
  const BackupPlaces places = BackupPlacesOf(target.full_path);
  if (TryCopyIn(target.folder.Get(), target.name + kBackupSuffix, places.beside, source)) return;
  const std::string beside_failure = SystemErrorText(errno);
  PrivateTempFolder own_folder = OpenPrivateTempFolder(geteuid(), true);
  std::string temp_failure = own_folder.failure;
  if (own_folder.fd.Valid()) {
    temp_folder_ = std::move(own_folder.fd);
    if (TryCopyIn(temp_folder_.Get(), NameOf(places.in_temp_folder), places.in_temp_folder,
                  source)) {
      return;
    }
    temp_failure = SystemErrorText(errno);
  }
  throw CreateFailure(file_name, NoBackupReason("not beside it (" + beside_failure + ") nor in \"" +
                                                EscapedName(PrivateTempFolderPath(geteuid())) +
                                                "\" (" + temp_failure + ")"));
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
  // A backup is known by being its user's alone: mode 0600 whatever the
  // umask took off.
  if (flock(copy->Fd(), LOCK_EX) != 0 || !CopyWholeFile(source, copy->Fd()) ||
      fchmod(copy->Fd(), 0600) != 0) {
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
    const std::string reason =
        error == EEXIST ? BackupStateReason(StateOf(path_, {geteuid()}), path_) : "";
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
