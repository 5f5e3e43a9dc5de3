#include "base/windows/save_backup.h"

#include "base/backup_names.h"
#include "base/file_failures.h"
#include "base/file_kind.h"
#include "base/path_parts.h"
#include "base/system_error_text.h"
#include "base/windows/file_information.h"
#include "base/windows/handle_io.h"
#include "base/windows/regular_file.h"
#include "base/windows/save_target.h"
#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// The user's temporary folder as a full path in its ordinary form, without
// the separator at its end; empty when the system gives none.
std::string TempFolder() {
  wchar_t given[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, given);
  if (length == 0 || length > MAX_PATH) return {};
  // The variables it comes from may hold "/" or "..", which a verbatim path
  // would take as they stand.
  const DWORD full_length = GetFullPathNameW(given, 0, nullptr, nullptr);
  if (full_length == 0) return {};
  std::wstring full(full_length, L'\0');
  full.resize(GetFullPathNameW(given, full_length, full.data(), nullptr));
  std::string folder = Utf8Text(full);
  while (!folder.empty() && folder.back() == '\\' && !IsRootFolder(folder)) folder.pop_back();
  return folder;
}

// Only a regular file, reached by no link, that a run of one of the trusted
// owners can have made counts as a backup. Anything else under a backup's
// name is foreign, and its bytes are never offered as a file's old bytes. A
// backup in use is held open by the run that writes its file, sharing
// neither reading nor writing.
BackupState StateOf(const std::string& path, const std::vector<Sid>& trusted) {
  const std::wstring wide = VerbatimPath(path);
  const UniqueHandle file(
      CreateFileW(wide.c_str(), GENERIC_READ | READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return BackupState::kInUse;
    return GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES ? BackupState::kForeign
                                                                       : BackupState::kAbsent;
  }
  const std::optional<Sid> owner = OwnerOf(file.Get());
  if (KindOfHandle(file.Get()) != FileKind::kRegular || !owner || !IsOneOf(*owner, trusted)) {
    return BackupState::kForeign;
  }
  return BackupState::kLeft;
}

}  // namespace

BackupPlaces BackupPlacesOf(const std::string& full_path) {
  const std::string temp_folder = TempFolder();
  return {full_path + kBackupSuffix,
          temp_folder.empty() ? std::string()
                              : JoinPath(temp_folder, BackupNameInTempFolder(full_path))};
}

std::string LeftBackupReason(const std::string& full_path, const std::optional<Sid>& owner) {
  if (full_path.empty()) return {};
  const BackupPlaces places = BackupPlacesOf(full_path);
  std::vector<Sid> trusted = OwnersOfRunFiles();
  if (owner && !IsOneOf(*owner, trusted)) trusted.push_back(*owner);
  std::string reason = BackupStateReason(StateOf(places.beside, trusted), places.beside);
  // The temporary folder is the user's own: only this user's runs put
  // backups there.
  if (reason.empty() && !places.in_temp_folder.empty()) {
    reason = BackupStateReason(StateOf(places.in_temp_folder, OwnersOfRunFiles()),
                               places.in_temp_folder);
  }
  return reason;
}

SaveBackup::SaveBackup(const SaveTarget& target, HANDLE source, const std::string& file_name)
    : file_name_(file_name) {
  const BackupPlaces places = BackupPlacesOf(target.full_path);
  if (TryCopyIn(target.folder, places.beside, source)) return;
  const std::string beside_failure = SystemErrorText(static_cast<int>(GetLastError()));
  const std::string temp_folder = FolderOf(places.in_temp_folder);
  std::string temp_failure = "the system names no temporary folder";
  if (!places.in_temp_folder.empty()) {
    if (TryCopyIn(VerbatimPath(temp_folder), places.in_temp_folder, source)) return;
    temp_failure = SystemErrorText(static_cast<int>(GetLastError()));
  }
  throw CreateFailure(file_name,
                      NoBackupReason("not beside it (" + beside_failure + ") nor in \"" +
                                     EscapedName(temp_folder) + "\" (" + temp_failure + ")"));
}

SaveBackup::~SaveBackup() = default;

bool SaveBackup::TryCopyIn(const std::wstring& folder, const std::string& path, HANDLE source) {
  auto copy = std::make_unique<TempFile>(folder, TempFile::Access::kPrivate);
  if (!copy->Valid()) {
    SetLastError(copy->ErrorCode());
    return false;
  }
  if (!CopyWholeFile(source, copy->Handle())) {
    const DWORD error = GetLastError();
    copy.reset();
    SetLastError(error);
    return false;
  }
  path_ = path;
  copy_ = std::move(copy);
  return true;
}

void SaveBackup::MakeDurable() {
  if (!FlushFileBuffers(copy_->Handle())) {
    throw CreateFailure(file_name_,
                        NoBackupReason(SystemErrorText(static_cast<int>(GetLastError()))));
  }
}

void SaveBackup::Place() {
  if (!copy_->RenameTo(VerbatimPath(path_), true)) {
    const DWORD error = GetLastError();
    const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    const std::string reason =
        taken ? BackupStateReason(StateOf(path_, OwnersOfRunFiles()), path_) : "";
    if (!reason.empty()) throw CreateFailure(file_name_, reason);
    throw CreateFailure(file_name_, NoBackupReason(SystemErrorText(static_cast<int>(error))));
  }
  placed_ = true;
}

bool SaveBackup::RestoreInto(HANDLE handle) const {
  return CopyWholeFile(copy_->Handle(), handle) && FlushFileBuffers(handle) != 0;
}

void SaveBackup::Remove() {
  // Held open with its removal shared: the name goes now, the file when
  // the copy is closed.
  DeleteFileW(VerbatimPath(path_).c_str());
  placed_ = false;
  copy_.reset();
}

}  // namespace vemra
