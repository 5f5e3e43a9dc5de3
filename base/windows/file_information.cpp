#include "base/windows/file_information.h"

#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"

namespace vemra {

bool IdentityOfHandle(HANDLE handle, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION information{};
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandle(handle, &information) ||
      !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
    return false;
  }
  identity.device = information.dwVolumeSerialNumber;
  identity.file =
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  identity.size = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
  identity.modified = Nanoseconds(static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart));
  identity.changed = Nanoseconds(static_cast<std::uint64_t>(basic.ChangeTime.QuadPart));
  return true;
}

std::wstring FinalPathOfHandle(HANDLE handle) {
  const DWORD length = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED);
  if (length == 0) return {};
  std::wstring path(length, L'\0');
  const DWORD written =
      GetFinalPathNameByHandleW(handle, path.data(), length, FILE_NAME_NORMALIZED);
  if (written == 0 || written >= length) return {};
  path.resize(written);
  return path;
}

std::wstring FullPathOf(HANDLE handle, const std::wstring& name) {
  std::wstring path = FinalPathOfHandle(handle);
  if (!path.empty()) return path;
  const DWORD error = GetLastError();
  // The name itself, not what it leads to, must be the file.
  const UniqueHandle named(CreateFileW(
      name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  FileIdentity opened;
  FileIdentity found;
  if (!named.Valid() || KindOfHandle(named.Get()) == FileKind::kLink ||
      !IdentityOfHandle(handle, opened) || !IdentityOfHandle(named.Get(), found) ||
      !opened.SameFile(found)) {
    SetLastError(error);
    return {};
  }
  const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (length == 0) return {};
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(name.c_str(), length, full.data(), nullptr));
  return VerbatimPath(Utf8Text(full));
}

std::string OrdinaryPath(std::wstring_view final_path) {
  if (final_path.starts_with(L"\\\\?\\UNC\\")) return "\\\\" + Utf8Text(final_path.substr(8));
  if (final_path.starts_with(L"\\\\?\\")) return Utf8Text(final_path.substr(4));
  return Utf8Text(final_path);
}

FileKind KindOfHandle(HANDLE handle) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return FileKind::kOther;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) {
    if ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(tag.ReparseTag)) {
      return FileKind::kLink;
    }
    if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileKind::kFolder;
  }
  return FileKind::kRegular;
}

}  // namespace vemra
