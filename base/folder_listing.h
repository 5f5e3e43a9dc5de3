// The entries of one folder, as the folder itself tells them: names and
// what each is, without following a link.
#pragma once

#include <string>
#include <vector>

#include "base/file_kind.h"

namespace vemra {

struct FolderEntry {
  std::string name;
  // What it is; unknown where the file system does not say (look at it).
  bool kind_known = false;
  FileKind kind{};
  bool hidden = false;  // marked hidden by the system's own attribute
};

struct FolderListing {
  std::vector<FolderEntry> entries;  // without "." and ".."
  // The system's reason when the folder could not be opened, or its listing
  // broke off (the entries read until then are listed).
  int error_code = 0;
};

// Lists the folder at path. A folder reached through a link as its last
// step is listed only with follow_link, so that a link put where a listed
// folder stood is not walked.
FolderListing ListFolder(const std::string& path, bool follow_link);

}  // namespace vemra
