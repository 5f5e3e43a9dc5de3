#include <windows.h>

#include <memory>
#include <optional>

#include "base/file_failures.h"
#include "base/pending_save.h"
#include "base/system_error_text.h"
#include "base/windows/attribute_handover.h"
#include "base/windows/file_information.h"
#include "base/windows/file_security.h"
#include "base/windows/handle_io.h"
#include "base/windows/interrupt_cleanup.h"
#include "base/windows/regular_file.h"
#include "base/windows/save_backup.h"
#include "base/windows/save_target.h"
#include "base/windows/temp_file.h"
#include "base/windows/unique_handle.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

int Code(DWORD error) {
  return static_cast<int>(error);
}

// The reason to give when the system refused to rename over the file. It
// says "Access is denied" both for want of the right to remove the file and
// for a program that holds it open; when this user may remove it, the
// second is told as what it is.
DWORD ReplaceRefusal(const std::wstring& path, DWORD error) {
  if (error != ERROR_ACCESS_DENIED) return error;
  const UniqueHandle probe(
      CreateFileW(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  const bool in_use = probe.Valid() || GetLastError() == ERROR_SHARING_VIOLATION;
  return in_use ? ERROR_SHARING_VIOLATION : error;
}

}  // namespace

// The Windows route: a temporary file renamed into place, or a write in place
// that keeps other writers out, guarded by a backup.
class PendingSave::Route {
 public:
  Route(const std::string& file_name, std::string_view bytes, const LoadedFile* loaded);

  void MakeDurable();
  void Commit();
  void FlushFolder() {}

 private:
  enum class Way {
    kNothing,  // the file already holds the bytes
    kRename,   // a new file beside the target, renamed over it
    kInPlace,  // the file itself, written over, its old bytes in a backup
  };

  void Prepare(const LoadedFile* loaded);
  void PrepareExisting(HANDLE existing, const LoadedFile* loaded, bool is_loaded_file);
  void CheckMayWrite(DWORD attributes) const;
  bool MayReplace() const;
  void ExpectState(const FileIdentity& now, const LoadedFile* loaded, bool is_loaded_file);
  bool HoldsBytesAlready(const LoadedFile* loaded) const;
  void PrepareNewFile();
  void PrepareInPlace();
  void CommitByRename();
  void CommitInPlace();
  void CheckUnchanged() const;
  [[noreturn]] void RestoreOrKeepBackup(HANDLE file, DWORD error);

  std::string file_name_;                 // as the caller named it, for messages
  std::string_view bytes_;                // the new content
  SaveTarget target_;                     // where the save lands
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
  // Nothing is left to flush: the rename was on disk when it returned
  // (MOVEFILE_WRITE_THROUGH).
  route_->FlushFolder();
}

PendingSave::Route::Route(const std::string& file_name, std::string_view bytes,
                          const LoadedFile* loaded)
    : file_name_(file_name), bytes_(bytes) {
  if (!file_name.empty() && (file_name.back() == '\\' || file_name.back() == '/')) {
    throw CreateFailure(file_name, Code(ERROR_INVALID_NAME));
  }
  target_ = ResolveSaveTarget(file_name);
  Prepare(loaded);
}

void PendingSave::Route::Prepare(const LoadedFile* loaded) {
  const RegularFile existing =
      OpenRegularFile(target_.path, FILE_READ_ATTRIBUTES | READ_CONTROL, kShareAll);
  if (existing.not_regular) throw CreateFailure(file_name_, NotRegularReason());
  const bool exists = existing.handle.Valid();
  if (!exists && !IsMissing(existing.error_code)) {
    throw CreateFailure(file_name_, Code(existing.error_code));
  }
  const std::string left_backup = LeftBackupReason(
      target_.full_path, exists ? OwnerOf(existing.handle.Get()) : std::optional<Sid>());
  if (!left_backup.empty()) throw CreateFailure(file_name_, left_backup);
  const bool is_loaded_file =
      loaded != nullptr && !loaded->path.empty() && loaded->path == target_.full_path;
  if (exists) {
    PrepareExisting(existing.handle.Get(), loaded, is_loaded_file);
  } else if (is_loaded_file) {
    throw CreateFailure(file_name_, ChangedReason());  // removed since it was loaded
  } else {
    PrepareNewFile();
  }
}

void PendingSave::Route::PrepareExisting(HANDLE existing, const LoadedFile* loaded,
                                         bool is_loaded_file) {
  BY_HANDLE_FILE_INFORMATION information{};
  FileIdentity now;
  if (!GetFileInformationByHandle(existing, &information) || !IdentityOfHandle(existing, now)) {
    throw CreateFailure(file_name_, Code(GetLastError()));
  }
  CheckMayWrite(information.dwFileAttributes);
  ExpectState(now, loaded, is_loaded_file);
  if (HoldsBytesAlready(loaded)) return;  // kNothing
  if (information.nNumberOfLinks > 1 || !MayReplace()) {
    PrepareInPlace();
    return;
  }
  temp_ = std::make_unique<TempFile>(target_.folder, TempFile::Access::kPrivate);
  if (!temp_->Valid()) {
    temp_.reset();
    PrepareInPlace();
    return;
  }
  if (!WriteFully(temp_->Handle(), bytes_)) throw WriteFailure(file_name_, Code(GetLastError()));
  // Only now, with every byte written, may the file become what the old one
  // was, and readable by whoever could read that. Better written in place
  // than without something the old file had.
  if (!HandOverAttributes(existing, temp_->Handle(), target_.path)) {
    temp_.reset();
    PrepareInPlace();
    return;
  }
  way_ = Way::kRename;
}

// A rename must not get round the file's own protection: a read-only file
// is refused as the system refuses a write to it, and so is a file whose
// access list lets this user not write it.
void PendingSave::Route::CheckMayWrite(DWORD attributes) const {
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw CreateFailure(file_name_, Code(ERROR_ACCESS_DENIED));
  }
  const UniqueHandle writer(CreateFileW(target_.path.c_str(), FILE_WRITE_DATA, kShareAll, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  // The system asks about the rights before the sharing: a file held by
  // another program may still be written by this user.
  const DWORD error = writer.Valid() ? 0 : GetLastError();
  if (error != 0 && error != ERROR_SHARING_VIOLATION) throw CreateFailure(file_name_, Code(error));
}

// Whether this user may remove the file, as a rename over it does. A file
// that may be written but not removed is written over in place. A program
// that holds the file without sharing its removal is no reason to: the
// rename then fails and says so.
bool PendingSave::Route::MayReplace() const {
  const UniqueHandle remover(
      CreateFileW(target_.path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  return remover.Valid() || GetLastError() != ERROR_ACCESS_DENIED;
}

// The file the bytes were loaded from, found again under this name or
// another, must be exactly as it was loaded; any other file as it is now.
void PendingSave::Route::ExpectState(const FileIdentity& now, const LoadedFile* loaded,
                                     bool is_loaded_file) {
  if ((is_loaded_file || (loaded != nullptr && loaded->identity.SameFile(now))) &&
      !(now == loaded->identity)) {
    throw CreateFailure(file_name_, ChangedReason());
  }
  expected_ = now;
}

bool PendingSave::Route::HoldsBytesAlready(const LoadedFile* loaded) const {
  if (loaded == nullptr || !(*expected_ == loaded->identity) ||
      expected_->size != static_cast<std::int64_t>(bytes_.size())) {
    return false;
  }
  const RegularFile reader = OpenRegularFile(target_.path, GENERIC_READ, kShareAll);
  return reader.handle.Valid() && HoldsExactly(reader.handle.Get(), bytes_);
}

// A new file gets what a file created directly in its folder would get.
void PendingSave::Route::PrepareNewFile() {
  temp_ = std::make_unique<TempFile>(target_.folder, TempFile::Access::kInherited);
  if (!temp_->Valid()) throw CreateFailure(file_name_, Code(temp_->ErrorCode()));
  if (!WriteFully(temp_->Handle(), bytes_)) throw WriteFailure(file_name_, Code(GetLastError()));
  way_ = Way::kRename;
}

void PendingSave::Route::PrepareInPlace() {
  const RegularFile reader = OpenRegularFile(target_.path, GENERIC_READ, kShareAll);
  if (!reader.handle.Valid()) {
    throw CreateFailure(
        file_name_, NoBackupReason(reader.not_regular ? NotRegularReason()
                                                      : SystemErrorText(Code(reader.error_code))));
  }
  backup_ = std::make_unique<SaveBackup>(target_, reader.handle.Get(), file_name_);
  way_ = Way::kInPlace;
}

void PendingSave::Route::MakeDurable() {
  if (way_ == Way::kRename && !FlushFileBuffers(temp_->Handle())) {
    throw WriteFailure(file_name_, Code(GetLastError()));
  }
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

void PendingSave::Route::CheckUnchanged() const {
  // The name itself, not what a link put there would lead to.
  const UniqueHandle file(
      CreateFileW(target_.path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  const DWORD error = file.Valid() ? 0 : GetLastError();
  if (!file.Valid() && !IsMissing(error)) throw CreateFailure(file_name_, Code(error));
  FileIdentity now;
  if (file.Valid() && !IdentityOfHandle(file.Get(), now)) {
    throw CreateFailure(file_name_, Code(GetLastError()));
  }
  const bool unchanged = expected_ ? file.Valid() && now == *expected_ : !file.Valid();
  if (!unchanged) throw CreateFailure(file_name_, ChangedReason());
}

void PendingSave::Route::CommitByRename() {
  // Closed first: once in place, the file must be held by no handle of this
  // run's, which shares neither reading nor writing with anyone.
  if (!temp_->Close()) throw WriteFailure(file_name_, Code(GetLastError()));
  // The last look before the rename, so that a change by someone else is
  // missed only when it falls between the two.
  CheckUnchanged();
  const bool new_file = !expected_;
  if (!temp_->RenameTo(target_.path, new_file)) {
    const DWORD error = GetLastError();
    if (new_file && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
      throw CreateFailure(file_name_, ChangedReason());
    }
    throw CreateFailure(file_name_, Code(ReplaceRefusal(target_.path, error)));
  }
}

void PendingSave::Route::CommitInPlace() {
  // Interrupts wait until the file is whole again and its backup gone.
  const InterruptsDeferred deferred;
  // Open for writing without sharing writing, before the backup appears and
  // until the file is complete: no other program can write to it meanwhile,
  // nor remove or rename it. A program that has it open for writing now
  // keeps the run out instead.
  const UniqueHandle file(CreateFileW(target_.path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) throw CreateFailure(file_name_, InUseReason());
    if (IsMissing(error)) throw CreateFailure(file_name_, ChangedReason());
    throw CreateFailure(file_name_, Code(error));
  }
  backup_->Place();
  // The last look at the file, through the handle that writes it.
  FileIdentity now;
  if (!IdentityOfHandle(file.Get(), now) || !(now == *expected_)) {
    backup_->Remove();
    throw CreateFailure(file_name_, ChangedReason());
  }
  if (!SeekTo(file.Get(), 0) || !WriteFully(file.Get(), bytes_)) {
    RestoreOrKeepBackup(file.Get(), GetLastError());
  }
  if (!SetEndOfFile(file.Get()) || !FlushFileBuffers(file.Get())) {
    RestoreOrKeepBackup(file.Get(), GetLastError());
  }
  backup_->Remove();
}

// After a failed write over the file: the old bytes back, or, where even
// that fails, the backup kept and named. Throws either way.
void PendingSave::Route::RestoreOrKeepBackup(HANDLE file, DWORD error) {
  if (backup_->RestoreInto(file)) {
    backup_->Remove();
    throw WriteFailure(file_name_, Code(error));
  }
  throw WriteFailure(file_name_, Code(error),
                     "Its old bytes are kept in \"" + EscapedName(backup_->Path()) + "\"");
}

}  // namespace vemra
