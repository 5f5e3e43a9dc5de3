#include "base/windows/regular_file.h"

#include <cwctype>

#include "base/windows/file_information.h"

namespace vemra {

namespace {

RegularFile Refused() {
  RegularFile file;
  file.not_regular = true;
  return file;
}

RegularFile Failed(DWORD error_code) {
  RegularFile file;
  file.error_code = error_code;
  return file;
}

// After "\\?\" or "\\.\": what a file on a disk is reached by, "C:\",
// "UNC\" or "Volume{...}\" (without the backslash, the volume itself).
bool IsDiskAfterPrefix(std::wstring_view rest) {
  if (rest.size() >= 3 && rest[1] == L':' && rest[2] == L'\\' && std::iswalpha(rest[0])) {
    return true;
  }
  const auto starts_with_any_case = [rest](std::wstring_view word) {
    if (rest.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::towupper(rest[i]) != std::towupper(word[i])) return false;
    }
    return true;
  };
  return starts_with_any_case(L"UNC\\") ||
         (starts_with_any_case(L"Volume{") && rest.find(L"}\\") != std::wstring_view::npos);
}

}  // namespace

bool IsDeviceName(const std::wstring& wide) {
  if (wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\")) {
    return !IsDiskAfterPrefix(std::wstring_view(wide).substr(4));
  }
  // The system's own reading of the name: a reserved name becomes
  // "\\.\NAME", whatever folder it stands in.
  wchar_t full[16] = {};
  const DWORD length = GetFullPathNameW(wide.c_str(), 16, full, nullptr);
  return length > 0 && length < 16 && std::wstring_view(full).starts_with(L"\\\\.\\");
}

RegularFile OpenRegularFile(const std::wstring& path, DWORD access, DWORD share) {
  if (IsDeviceName(path)) return Refused();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failed(GetLastError());
  // A folder, or a link to one: its bytes are never asked for.
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Refused();
  RegularFile file;
  file.handle.Reset(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.handle.Valid()) return Failed(GetLastError());
  if (KindOfHandle(file.handle.Get()) != FileKind::kRegular) return Refused();
  return file;
}

}  // namespace vemra
