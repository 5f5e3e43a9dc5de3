#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

#include "base/file_failures.h"
#include "base/pending_save.h"
#include "base/posix/attribute_handover.h"
#include "base/posix/fd_io.h"
#include "base/posix/regular_file.h"
#include "base/posix/save_backup.h"
#include "base/posix/save_target.h"
#include "base/posix/signal_cleanup.h"
#include "base/posix/stat_identity.h"
#include "base/posix/temp_file.h"
#include "base/posix/unique_fd.h"
#include "base/posix/write_lease.h"
#include "base/system_error_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// Puts bytes over the open file, whose size was old_size. A file that grows
// reaches its new length first, by its last byte: what another program
// appends from then on lands beyond the new bytes, and shows as a longer
// file, unless it comes in the moment between the last look at the file and
// that first write. False with errno on failure.
bool WriteOver(int fd, std::string_view bytes, off_t old_size) {
  const auto size = static_cast<off_t>(bytes.size());
  if (size > old_size && pwrite(fd, &bytes.back(), 1, size - 1) != 1) return false;
  return lseek(fd, 0, SEEK_SET) == 0 && WriteFully(fd, bytes);
}

// Cuts the open file to size and flushes it; false with errno on failure.
bool CutAndFlush(int fd, std::size_t size) {
  return ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
}

}  // namespace

// The POSIX route: a temporary file renamed into place, or a write in place
// under a lease, guarded by a backup.
class PendingSave::Route {
 public:
  Route(const std::string& file_name, std::string_view bytes, const LoadedFile* loaded);

  void MakeDurable();
  void Commit();
  void FlushFolder();

 private:
  enum class Way {
    kNothing,  // the file already holds the bytes
    kRename,   // a new file beside the target, renamed over it
    kInPlace,  // the file itself, written over, its old bytes in a backup
  };

  void Prepare(const LoadedFile* loaded);
  void ExpectState(const struct stat& now, const LoadedFile* loaded, bool is_loaded_file);
  void PrepareInPlace();
  void CommitByRename();
  void CommitInPlace();
  void CheckUnchanged() const;
  bool WrittenByOthers(off_t old_size) const;
  [[noreturn]] void RestoreOrKeepBackup(int error);

  std::string file_name_;                 // as the caller named it, for messages
  std::string_view bytes_;                // the new content
  SaveTarget target_;                     // where the save lands
  UniqueFd existing_;                     // the target, open for writing, if it exists
  std::optional<FileIdentity> expected_;  // what Commit must find; nullopt: no file
  Way way_ = Way::kNothing;
  std::unique_ptr<TempFile> temp_;      // the new bytes, for kRename
  std::unique_ptr<SaveBackup> backup_;  // the old bytes, for kInPlace
};

PendingSave::PendingSave(const std::string& file_name, std::string_view bytes,
                         const LoadedFile* loaded)
    : route_(std::make_unique<Route>(file_name, bytes, loaded)) {}

PendingSave::~PendingSave() = default;

void PendingSave::MakeDurable() {
  route_->MakeDurable();
}

void PendingSave::Commit() {
  route_->Commit();
}

void PendingSave::FlushFolder() {
  route_->FlushFolder();
}

PendingSave::Route::Route(const std::string& file_name, std::string_view bytes,
                          const LoadedFile* loaded)
    : file_name_(file_name), bytes_(bytes) {
  if (!file_name.empty() && file_name.back() == '/') throw CreateFailure(file_name, EISDIR);
  target_ = ResolveSaveTarget(file_name);
  Prepare(loaded);
}

void PendingSave::Route::Prepare(const LoadedFile* loaded) {
  const int folder = target_.folder.Get();
  const char* const name = target_.name.c_str();
  struct stat now {};
  const bool exists = fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw CreateFailure(file_name_, errno);
  if (exists && !S_ISREG(now.st_mode)) throw CreateFailure(file_name_, NotRegularReason());
  const std::string left_backup =
      LeftBackupReason(target_.full_path, exists ? now.st_uid : geteuid());
  if (!left_backup.empty()) throw CreateFailure(file_name_, left_backup);
  const bool is_loaded_file =
      loaded != nullptr && !loaded->path.empty() && loaded->path == target_.full_path;
  if (exists) {
    // Opening for writing asks the permission question a direct write
    // would: a rename must not get round the file's own protection.
    RegularFile opened = OpenRegularFile(folder, name, O_WRONLY);
    if (opened.not_regular) throw CreateFailure(file_name_, NotRegularReason());
    if (!opened.fd.Valid()) throw CreateFailure(file_name_, opened.error_code);
    existing_ = std::move(opened.fd);
    if (!IdentityOf(opened.info).SameFile(IdentityOf(now))) {
      throw CreateFailure(file_name_, ChangedReason());
    }
    ExpectState(opened.info, loaded, is_loaded_file);
    if (loaded != nullptr && *expected_ == loaded->identity &&
        opened.info.st_size == static_cast<off_t>(bytes_.size())) {
      const RegularFile reader = OpenRegularFile(folder, name, O_RDONLY);
      if (reader.fd.Valid() && HoldsExactly(reader.fd.Get(), bytes_)) return;  // kNothing
    }
    if (opened.info.st_nlink > 1) {
      PrepareInPlace();
      return;
    }
  } else if (is_loaded_file) {
    throw CreateFailure(file_name_, ChangedReason());  // removed since it was loaded
  }
  temp_ = std::make_unique<TempFile>(folder);
  if (!temp_->Valid()) {
    const int error = temp_->ErrorCode();
    temp_.reset();
    if (!exists) throw CreateFailure(file_name_, error);
    PrepareInPlace();
    return;
  }
  if (!WriteFully(temp_->Fd(), bytes_)) throw WriteFailure(file_name_, errno);
  way_ = Way::kRename;
}

// The file the bytes were loaded from, found again under this name or
// another, must be exactly as it was loaded; any other file as it is now.
void PendingSave::Route::ExpectState(const struct stat& now, const LoadedFile* loaded,
                                     bool is_loaded_file) {
  const FileIdentity current = IdentityOf(now);
  if ((is_loaded_file || (loaded != nullptr && loaded->identity.SameFile(current))) &&
      !(current == loaded->identity)) {
    throw CreateFailure(file_name_, ChangedReason());
  }
  expected_ = current;
}

void PendingSave::Route::PrepareInPlace() {
  const RegularFile reader = OpenRegularFile(target_.folder.Get(), target_.name.c_str(), O_RDONLY);
  if (!reader.fd.Valid()) {
    throw CreateFailure(file_name_,
                        NoBackupReason(reader.not_regular ? NotRegularReason()
                                                          : SystemErrorText(reader.error_code)));
  }
  backup_ = std::make_unique<SaveBackup>(target_, reader.fd.Get(), file_name_);
  way_ = Way::kInPlace;
}

void PendingSave::Route::MakeDurable() {
  if (way_ == Way::kRename && fsync(temp_->Fd()) != 0) throw WriteFailure(file_name_, errno);
  if (way_ == Way::kInPlace) backup_->MakeDurable();
}

void PendingSave::Route::Commit() {
  switch (way_) {
    case Way::kNothing:
      return;
    case Way::kRename:
      CommitByRename();
      return;
    case Way::kInPlace:
      CommitInPlace();
      return;
  }
}

void PendingSave::Route::FlushFolder() {
  // Best effort: the new file is complete either way, and a rename that a
  // crash undoes leaves the old file whole.
  if (way_ == Way::kRename) SyncFolder(target_.folder.Get());
}

void PendingSave::Route::CheckUnchanged() const {
  struct stat now {};
  const bool exists =
      fstatat(target_.folder.Get(), target_.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw CreateFailure(file_name_, errno);
  const bool unchanged = expected_ ? exists && IdentityOf(now) == *expected_ : !exists;
  if (!unchanged) throw CreateFailure(file_name_, ChangedReason());
}

void PendingSave::Route::CommitByRename() {
  const bool new_file = !existing_.Valid();
  // Only now, with every byte written, may the file become what the old one
  // was, and readable by whoever could read that.
  const bool handed_over = new_file ? GiveNewFileAttributes(temp_->Fd(), target_.folder_path)
                                    : HandOverAttributes(existing_.Get(), temp_->Fd());
  if (!handed_over) {
    if (new_file) throw CreateFailure(file_name_, errno);
    // Better written in place than without something the old file had.
    temp_.reset();
    PrepareInPlace();
    backup_->MakeDurable();
    CommitInPlace();
    return;
  }
  if (!temp_->Close()) throw WriteFailure(file_name_, errno);
  // The last look before the rename, so that a change by someone else is
  // missed only when it falls between the two.
  CheckUnchanged();
  if (!temp_->RenameTo(target_.name, new_file)) {
    const int error = errno;
    throw CreateFailure(file_name_, error == EEXIST ? ChangedReason() : SystemErrorText(error));
  }
}

void PendingSave::Route::CommitInPlace() {
  // Signals wait until the file is whole again and its backup gone.
  const SignalsDeferred deferred;
  // Taken before the backup appears and before the last look at the file:
  // from then on, a program that opens the file waits until it is complete.
  const WriteLease lease(existing_.Get());
  if (lease.Taken() == WriteLease::Outcome::kFileInUse) {
    throw CreateFailure(file_name_, InUseReason());
  }
  backup_->Place();
  try {
    CheckUnchanged();
  } catch (...) {
    backup_->Remove();
    throw;
  }
  const off_t old_size = expected_->size;
  if (!WriteOver(existing_.Get(), bytes_, old_size)) RestoreOrKeepBackup(errno);
  // Before the file is cut to its new length, what another program may
  // have written in the meantime still shows: as a longer file, or as
  // another file under the name.
  if (!lease.KeptOthersOut() && WrittenByOthers(old_size)) {
    throw CreateFailure(file_name_, WrittenMeanwhileReason(backup_->Path()));  // backup kept
  }
  if (!CutAndFlush(existing_.Get(), bytes_.size())) RestoreOrKeepBackup(errno);
  backup_->Remove();
}

// Whether the file holds more than the old or new bytes after they were
// written over it, or the name leads to another file now.
bool PendingSave::Route::WrittenByOthers(off_t old_size) const {
  struct stat written {};
  struct stat named {};
  const auto expected_size = std::max(old_size, static_cast<off_t>(bytes_.size()));
  return fstat(existing_.Get(), &written) != 0 || written.st_size != expected_size ||
         fstatat(target_.folder.Get(), target_.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
         !IdentityOf(named).SameFile(IdentityOf(written));
}

// After a failed write over the file: the old bytes back, or, where even
// that fails, the backup kept and named. Throws either way.
void PendingSave::Route::RestoreOrKeepBackup(int error) {
  if (backup_->RestoreInto(existing_.Get())) {
    backup_->Remove();
    throw WriteFailure(file_name_, error);
  }
  throw WriteFailure(file_name_, error,
                     "Its old bytes are kept in \"" + EscapedName(backup_->Path()) + "\"");
}

}  // namespace vemra
