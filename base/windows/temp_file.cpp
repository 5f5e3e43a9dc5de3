#include "base/windows/temp_file.h"

#include <atomic>

#include "base/windows/file_security.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

// Names are tried until one is free; a file of an earlier process with the
// same id may be in the way.
constexpr int kNameAttempts = 100;

// What the run does with the file: write and read it back, give it the old
// file's security (its owner and access list), rename it and remove it.
constexpr DWORD kPrivateAccess =
    GENERIC_READ | GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC | WRITE_OWNER;
// A file with the folder's security is never given another's.
constexpr DWORD kInheritedAccess = GENERIC_READ | GENERIC_WRITE | DELETE;

SECURITY_ATTRIBUTES* PrivateAttributes(DWORD& error_code) {
  static PrivateSecurity security;
  error_code = security.ErrorCode();
  return security.Attributes();
}

}  // namespace

TempFile::TempFile(const std::wstring& folder, Access access) {
  static std::atomic<unsigned> counter = 0;
  SECURITY_ATTRIBUTES* security = nullptr;
  if (access == Access::kPrivate) {
    security = PrivateAttributes(error_code_);
    if (security == nullptr) return;
  }
  const DWORD rights = access == Access::kPrivate ? kPrivateAccess : kInheritedAccess;
  const std::wstring stem =
      VerbatimJoin(folder, L".vemrafmt-" + std::to_wstring(GetCurrentProcessId()) + L"-");
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    path_ = stem + std::to_wstring(counter++) + L".tmp";
    // Registered first, so that no moment is left in which the file exists
    // and an interrupt would leave it.
    on_interrupt_.Register(path_);
    // Sharing only its removal, so that this run can rename and remove it
    // by name while it holds it open; no one else can read or write it.
    handle_.Reset(CreateFileW(path_.c_str(), rights, FILE_SHARE_DELETE, security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle_.Valid()) return;
    error_code_ = GetLastError();
    on_interrupt_.Unregister();
    if (error_code_ != ERROR_FILE_EXISTS && error_code_ != ERROR_ALREADY_EXISTS) break;
  }
  path_.clear();
}

TempFile::~TempFile() {
  handle_.Reset();
  if (removed_on_exit_ && !path_.empty()) DeleteFileW(path_.c_str());
  on_interrupt_.Unregister();
}

bool TempFile::RenameTo(const std::wstring& path, bool no_replace) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (no_replace ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (!MoveFileExW(path_.c_str(), path.c_str(), flags)) return false;
  // The handler may still remove the old name in between; it is gone, so
  // that does nothing.
  Keep();
  return true;
}

void TempFile::Keep() {
  removed_on_exit_ = false;
  on_interrupt_.Unregister();
}

}  // namespace vemra
