#include <windows.h>

#include "base/file_kind.h"
#include "base/windows/file_information.h"
#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

PathLook Failed(DWORD error) {
  PathLook look;
  look.error_code = static_cast<int>(error);
  look.missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return look;
}

// Opens path with access and looks at what was opened. Folders open too
// (FILE_FLAG_BACKUP_SEMANTICS); no sharing is denied to anyone.
PathLook Look(const std::string& path, DWORD access, bool follow_links) {
  const DWORD flags =
      FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const UniqueHandle file(CreateFileW(WidePath(path).c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr));
  if (!file.Valid()) return Failed(GetLastError());
  PathLook look;
  look.kind = KindOfHandle(file.Get());
  if (look.kind != FileKind::kOther && !IdentityOfHandle(file.Get(), look.identity)) {
    return Failed(GetLastError());
  }
  return look;
}

}  // namespace

PathLook LookAt(const std::string& path, bool follow_links) {
  return Look(path, FILE_READ_ATTRIBUTES, follow_links);
}

PathLook LookByOpening(const std::string& path) {
  return Look(path, GENERIC_READ, true);
}

}  // namespace vemra
