#include <windows.h>

#include "base/expand_path.h"
#include "base/windows/wide_text.h"

namespace vemra {

std::string ExpandPath(const std::string& file_name) {
  const std::wstring name = WideText(file_name);
  if (name.empty()) return file_name;
  const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (length == 0) return file_name;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(name.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return file_name;
  full.resize(written);
  return Utf8Text(full);
}

}  // namespace vemra
