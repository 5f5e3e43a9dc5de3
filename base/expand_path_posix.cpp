#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "base/expand_path.h"

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

// Where the last ".." segment of a name ends; 0 when it has none.
std::size_t EndOfLastParentStep(const std::string& name) {
  for (std::size_t at = name.rfind(".."); at != std::string::npos;
       at = at == 0 ? std::string::npos : name.rfind("..", at - 1)) {
    const bool starts_segment = at == 0 || name[at - 1] == '/';
    const bool ends_segment = at + 2 == name.size() || name[at + 2] == '/';
    if (starts_segment && ends_segment) return at + 2;
  }
  return 0;
}

// The name with the part up to its last ".." resolved by the file system;
// the name itself when it has no ".." or that part does not exist.
std::string ResolveParentSteps(const std::string& name) {
  const std::size_t end = EndOfLastParentStep(name);
  if (end == 0) return name;
  const std::unique_ptr<char, decltype(&std::free)> resolved(
      realpath(name.substr(0, end).c_str(), nullptr), &std::free);
  if (resolved == nullptr) return name;
  const std::string rest = name.substr(end);
  return rest.empty() ? std::string(resolved.get()) : std::string(resolved.get()) + "/" + rest;
}

}  // namespace

std::string ExpandPath(const std::string& file_name) {
  const std::string name = ResolveParentSteps(file_name);
  if (!name.empty() && name.front() == '/') return NormaliseAbsolute(name);
  const std::string directory = CurrentDirectory();
  if (directory.empty()) return name;
  return NormaliseAbsolute(directory + "/" + name);
}

}  // namespace vemra
