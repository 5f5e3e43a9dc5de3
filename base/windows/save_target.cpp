#include "base/windows/save_target.h"

#include <windows.h>

#include "base/file_failures.h"
#include "base/file_kind.h"
#include "base/path_parts.h"
#include "base/windows/file_information.h"
#include "base/windows/regular_file.h"
#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

// Opens a name, following links, only to ask where it leads; folders open
// too.
UniqueHandle OpenToLook(const std::wstring& path) {
  return UniqueHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

SaveTarget TargetAt(const std::wstring& final_path) {
  SaveTarget target;
  target.full_path = OrdinaryPath(final_path);
  target.path = VerbatimPath(target.full_path);
  target.folder = VerbatimPath(FolderOf(target.full_path));
  return target;
}

}  // namespace

SaveTarget ResolveSaveTarget(const std::string& file_name) {
  if (IsDeviceName(WidePath(file_name))) throw CreateFailure(file_name, NotRegularReason());
  // An existing file is saved under the name the file system has for it:
  // through links, and in the letter case it was made with, which a rename
  // onto the name as typed would change.
  const std::wstring name = WidePath(file_name);
  const UniqueHandle file = OpenToLook(name);
  if (file.Valid()) {
    const std::wstring final_path = FullPathOf(file.Get(), name);
    if (final_path.empty()) throw CreateFailure(file_name, static_cast<int>(GetLastError()));
    return TargetAt(final_path);
  }
  const DWORD error = GetLastError();
  // A link that leads nowhere is not replaced by a file of its own.
  if (!IsMissing(error) || LookAt(file_name, false).Exists()) {
    throw CreateFailure(file_name, static_cast<int>(error));
  }
  const std::wstring folder_name = WidePath(FolderOf(file_name));
  const UniqueHandle folder = OpenToLook(folder_name);
  if (!folder.Valid()) throw CreateFailure(file_name, static_cast<int>(GetLastError()));
  if (KindOfHandle(folder.Get()) != FileKind::kFolder) {
    throw CreateFailure(file_name, ERROR_DIRECTORY);
  }
  const std::wstring final_folder = FullPathOf(folder.Get(), folder_name);
  if (final_folder.empty()) throw CreateFailure(file_name, static_cast<int>(GetLastError()));
  return TargetAt(VerbatimJoin(final_folder, WideText(NameOf(file_name))));
}

}  // namespace vemra
