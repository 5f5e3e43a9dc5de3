#include <string_view>

#include "base/expand_path.h"
#include "base/path_parts.h"
#include "base/relative_path.h"

namespace vemra {

namespace {

// The rest of path below folder (both absolute and normalised); empty when
// path is not below it.
std::string Below(const std::string& folder, const std::string& path) {
  if (folder.empty() || folder.front() != '/') return {};
  const std::string prefix = folder == "/" ? folder : folder + "/";
  if (!path.starts_with(prefix)) return {};
  return path.substr(prefix.size());
}

}  // namespace

std::string PathFromCurrentFolder(const std::string& name) {
  const std::string current = ExpandPath(".");
  const std::string full = ExpandPath(name);
  std::string path = Below(current, full);
  if (!path.empty()) return path;
  // The current folder is known by its resolved path; a name may reach it
  // through a link to a folder above the file.
  const std::string folder = ResolvedPath(FolderOf(full));
  if (folder.empty()) return {};
  return Below(current, JoinPath(folder, NameOf(full)));
}

}  // namespace vemra
