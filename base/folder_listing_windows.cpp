#include <windows.h>

#include "base/folder_listing.h"
#include "base/path_parts.h"
#include "base/windows/file_information.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

FolderEntry EntryOf(const WIN32_FIND_DATAW& found) {
  FolderEntry entry{Utf8Text(found.cFileName), true, FileKind::kRegular, false};
  const DWORD attributes = found.dwFileAttributes;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(found.dwReserved0)) {
    entry.kind = FileKind::kLink;
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    entry.kind = FileKind::kFolder;
  }
  entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  return entry;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

FolderListing ListFolder(const std::string& path, bool follow_link) {
  FolderListing listing;
  if (!follow_link) {
    // A link or junction put where a listed folder stood is not walked.
    const PathLook look = LookAt(path, false);
    if (!look.Exists() || look.kind == FileKind::kLink) {
      listing.error_code = look.Exists() ? ERROR_CANT_ACCESS_FILE : look.error_code;
      return listing;
    }
  }
  WIN32_FIND_DATAW found{};
  const FindHandle find(FindFirstFileExW(WidePath(JoinPath(path, "*")).c_str(), FindExInfoBasic,
                                         &found, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  if (find.Get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) listing.error_code = static_cast<int>(error);
    return listing;
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") listing.entries.push_back(EntryOf(found));
  } while (FindNextFileW(find.Get(), &found));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) listing.error_code = static_cast<int>(error);
  return listing;
}

}  // namespace vemra
