#include "base/expand_path.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace vemra {

namespace {

// The current directory however long it is; empty when it cannot be had
// (for instance after it was removed).
std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

// Resolves "." and ".." and drops empty segments of an absolute path.
std::string NormaliseAbsolute(std::string_view path) {
  std::vector<std::string_view> segments;
  std::size_t pos = 0;
  while (pos < path.size()) {
    std::size_t slash = path.find('/', pos);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view segment = path.substr(pos, slash - pos);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    pos = slash + 1;
  }
  std::string result;
  for (const std::string_view segment : segments) {
    result += '/';
    result += segment;
  }
  if (result.empty()) return "/";
  if (path.back() == '/') result += '/';
  return result;
}

}  // namespace

std::string ExpandPath(const std::string& file_name) {
  if (!file_name.empty() && file_name.front() == '/') return NormaliseAbsolute(file_name);
  const std::string directory = CurrentDirectory();
  if (directory.empty()) return file_name;
  return NormaliseAbsolute(directory + "/" + file_name);
}

}  // namespace vemra
