#include <windows.h>

#include "base/path_parts.h"
#include "base/windows/file_information.h"
#include "base/windows/unique_handle.h"
#include "base/windows/wide_text.h"

namespace vemra {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDrive(const std::string& path, std::size_t at) {
  return path.size() >= at + 2 && path[at + 1] == ':' &&
         ((path[at] >= 'A' && path[at] <= 'Z') || (path[at] >= 'a' && path[at] <= 'z'));
}

// The end of the part after "\\" in "\\server\share\": the share's end and
// the separator after it.
std::size_t EndOfShare(const std::string& path, std::size_t server) {
  std::size_t at = server;
  for (int part = 0; part < 2 && at < path.size(); ++part) {
    while (at < path.size() && !IsSeparator(path[at])) ++at;
    if (at < path.size()) ++at;
  }
  return at;
}

// How much of the path is its root: "C:\", "C:", "\", "\\server\share\",
// "\\?\C:\" or "\\?\UNC\server\share\"; 0 for a relative path.
std::size_t RootLength(const std::string& path) {
  if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) {
    if (path.compare(4, 4, "UNC\\") == 0) return EndOfShare(path, 8);
    if (IsDrive(path, 4)) return path.size() > 6 && IsSeparator(path[6]) ? 7 : 6;
    return 4;
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return EndOfShare(path, 2);
  if (IsDrive(path, 0)) return path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

std::size_t LastSeparator(const std::string& path, std::size_t root) {
  for (std::size_t at = path.size(); at > root; --at) {
    if (IsSeparator(path[at - 1])) return at - 1;
  }
  return std::string::npos;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t root = RootLength(path);
  const std::size_t separator = LastSeparator(path, root);
  if (separator != std::string::npos) return path.substr(0, separator);
  return root > 0 ? path.substr(0, root) : ".";
}

std::string NameOf(const std::string& path) {
  const std::size_t root = RootLength(path);
  const std::size_t separator = LastSeparator(path, root);
  return path.substr(separator != std::string::npos ? separator + 1 : root);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || IsSeparator(folder.back()) || folder.back() == ':') return folder + name;
  return folder + "\\" + name;
}

bool IsRootFolder(const std::string& folder) {
  return !folder.empty() && RootLength(folder) == folder.size();
}

std::string ResolvedPath(const std::string& path) {
  const UniqueHandle file(CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) return {};
  const std::wstring final_path = FullPathOf(file.Get(), WidePath(path));
  return final_path.empty() ? std::string() : OrdinaryPath(final_path);
}

}  // namespace vemra
