#include "base/pending_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/attribute_handover.h"
#include "base/fd_io.h"
#include "base/file_failures.h"
#include "base/save_backup.h"
#include "base/signal_cleanup.h"
#include "base/system_error_text.h"
#include "base/temp_file.h"

namespace vemra {

namespace {

// Puts bytes at the start of the open file, cuts it to their length and
// flushes it; false with errno on failure.
bool Overwrite(int fd, std::string_view bytes) {
  return lseek(fd, 0, SEEK_SET) == 0 && WriteFully(fd, bytes) &&
         ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
}

}  // namespace

PendingSave::PendingSave(const std::string& file_name, std::string_view bytes,
                         const LoadedFile* loaded)
    : file_name_(file_name), bytes_(bytes) {
  if (!file_name.empty() && file_name.back() == '/') throw CreateFailure(file_name, EISDIR);
  target_ = ResolveSaveTarget(file_name);
  Prepare(loaded);
}

PendingSave::~PendingSave() = default;

void PendingSave::Prepare(const LoadedFile* loaded) {
  const int folder = target_.folder.Get();
  const char* const name = target_.name.c_str();
  struct stat now {};
  const bool exists = fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw CreateFailure(file_name_, errno);
  if (exists && S_ISDIR(now.st_mode)) throw CreateFailure(file_name_, EISDIR);
  const std::string left_backup = LeftBackupReason(target_.full_path);
  if (!left_backup.empty()) throw CreateFailure(file_name_, left_backup);
  const bool is_loaded_file =
      loaded != nullptr && !loaded->path.empty() && loaded->path == target_.full_path;
  if (exists) {
    // Opening for writing asks the permission question a direct write
    // would: a rename must not get round the file's own protection.
    existing_.Reset(openat(folder, name, O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!existing_.Valid()) throw CreateFailure(file_name_, errno);
    struct stat opened {};
    if (fstat(existing_.Get(), &opened) != 0 ||
        !FileIdentity::Of(opened).SameFile(FileIdentity::Of(now))) {
      throw CreateFailure(file_name_, ChangedReason());
    }
    if (!S_ISREG(opened.st_mode)) {
      way_ = Way::kDirect;
      return;
    }
    ExpectState(opened, loaded, is_loaded_file);
    if (loaded != nullptr && *expected_ == loaded->identity &&
        opened.st_size == static_cast<off_t>(bytes_.size())) {
      const UniqueFd reader(openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY));
      if (reader.Valid() && HoldsExactly(reader.Get(), bytes_)) return;  // kNothing
    }
    if (opened.st_nlink > 1) {
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
void PendingSave::ExpectState(const struct stat& now, const LoadedFile* loaded,
                              bool is_loaded_file) {
  const FileIdentity current = FileIdentity::Of(now);
  if ((is_loaded_file || (loaded != nullptr && loaded->identity.SameFile(current))) &&
      !(current == loaded->identity)) {
    throw CreateFailure(file_name_, ChangedReason());
  }
  expected_ = current;
}

void PendingSave::PrepareInPlace() {
  const UniqueFd reader(
      openat(target_.folder.Get(), target_.name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!reader.Valid()) throw CreateFailure(file_name_, NoBackupReason(SystemErrorText(errno)));
  backup_ = std::make_unique<SaveBackup>(target_, reader.Get(), file_name_);
  way_ = Way::kInPlace;
}

void PendingSave::MakeDurable() {
  if (way_ == Way::kRename && fsync(temp_->Fd()) != 0) throw WriteFailure(file_name_, errno);
  if (way_ == Way::kInPlace) backup_->MakeDurable();
}

void PendingSave::Commit() {
  switch (way_) {
    case Way::kNothing:
      return;
    case Way::kDirect:
      if (!WriteFully(existing_.Get(), bytes_)) throw WriteFailure(file_name_, errno);
      return;
    case Way::kRename:
      CommitByRename();
      return;
    case Way::kInPlace:
      CommitInPlace();
      return;
  }
}

void PendingSave::FlushFolder() {
  // Best effort: the new file is complete either way, and a rename that a
  // crash undoes leaves the old file whole.
  if (way_ == Way::kRename) SyncFolder(target_.folder.Get());
}

void PendingSave::CheckUnchanged() const {
  struct stat now {};
  const bool exists =
      fstatat(target_.folder.Get(), target_.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw CreateFailure(file_name_, errno);
  const bool unchanged = expected_ ? exists && FileIdentity::Of(now) == *expected_ : !exists;
  if (!unchanged) throw CreateFailure(file_name_, ChangedReason());
}

void PendingSave::CommitByRename() {
  CheckUnchanged();
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
  if (!temp_->RenameTo(target_.name, new_file)) {
    const int error = errno;
    throw CreateFailure(file_name_, error == EEXIST ? ChangedReason() : SystemErrorText(error));
  }
}

void PendingSave::CommitInPlace() {
  // Signals wait until the file is whole again and its backup gone.
  const SignalsDeferred deferred;
  backup_->Place();
  try {
    CheckUnchanged();
  } catch (...) {
    backup_->Remove();
    throw;
  }
  if (Overwrite(existing_.Get(), bytes_)) {
    backup_->Remove();
    return;
  }
  const int error = errno;
  if (backup_->RestoreInto(existing_.Get())) {
    backup_->Remove();
    throw WriteFailure(file_name_, error);
  }
  throw WriteFailure(file_name_, error, "Its old bytes are kept in \"" + backup_->Path() + "\"");
}

}  // namespace vemra
