#include <algorithm>

#include "base/conversions.h"
#include "base/expand_path.h"
#include "base/relative_path.h"

namespace vemra {

std::string PathFromCurrentFolder(const std::string& name) {
  const std::string current = ExpandPath(".");
  const std::string full = ExpandPath(name);
  if (current.empty()) return {};
  const std::string prefix = current.back() == '\\' ? current : current + "\\";
  // Windows compares names without regard to letter case.
  if (full.size() <= prefix.size() ||
      LowerAscii(full.substr(0, prefix.size())) != LowerAscii(prefix)) {
    return {};
  }
  std::string path = full.substr(prefix.size());
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace vemra
