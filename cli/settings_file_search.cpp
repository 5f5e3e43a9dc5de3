#include "cli/settings_file_search.h"

#include "base/failures.h"
#include "base/file_kind.h"
#include "base/path_parts.h"
#include "base/system_error_text.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

struct Probe {
  bool present = false;
  std::optional<std::string> failure;
};

// Whether path holds a settings file, opened the way the library will open
// it. A missing file is not there; one that is there but cannot be opened,
// or is no regular file (a folder, pipe, socket or device of that name),
// fails, where the library would pass over it and give the input settings
// other than its own. Opened without blocking, as a pipe of that name would
// block the library for ever.
Probe ProbeSettingsFile(const std::string& path) {
  const PathLook look = LookByOpening(path);
  if (look.missing) return {};
  if (!look.Exists()) {
    return {false, "Cannot open settings file \"" + EscapedName(path) + "\". " +
                       SystemErrorText(look.error_code)};
  }
  if (look.kind != FileKind::kRegular) {
    return {false, "Cannot open settings file \"" + EscapedName(path) + "\": not a regular file"};
  }
  return {true, std::nullopt};
}

std::string SettingsFileIn(const std::string& folder) {
  return JoinPath(folder, kSettingsFileName);
}

}  // namespace

std::string SettingsFileSearch::NearestFile(const std::string& folder) {
  const std::lock_guard lock(mutex_);
  const Found& found = Lookup(folder);
  if (found.failure) throw ESettingsError(*found.failure);
  return found.nearest;
}

// A folder's answer is its own file's, or else its parent's, looked up once.
const SettingsFileSearch::Found& SettingsFileSearch::Lookup(const std::string& folder) {
  if (const auto known = folders_.find(folder); known != folders_.end()) return known->second;
  const std::string file = SettingsFileIn(folder);
  Probe probe = ProbeSettingsFile(file);
  Found found;
  if (!IsRootFolder(folder) && FolderOf(folder) != folder) found = Lookup(FolderOf(folder));
  if (probe.failure) {
    found.failure = std::move(probe.failure);
  } else if (probe.present) {
    found.nearest = file;
  }
  return folders_.emplace(folder, std::move(found)).first->second;
}

}  // namespace vemra
