// The user's own folder inside the shared temporary folder, for what the
// program keeps there (backups): "vemrafmt-UID" in $TMPDIR, else /tmp,
// where another local user can neither plant a file nor read one. A folder
// of that name that is a link, or another user's, or open to others, is
// never used.
#pragma once

#include <sys/stat.h>

#include <string>

#include "base/posix/unique_fd.h"

namespace vemra {

// $TMPDIR, else /tmp.
std::string SharedTempFolder();
// Where the folder of the user with that id is: SharedTempFolder() +
// "/vemrafmt-UID".
std::string PrivateTempFolderPath(uid_t user);

struct PrivateTempFolder {
  UniqueFd fd;           // open on the folder, when it may be used
  std::string failure;   // why not, for a message; empty when it may be used
  bool missing = false;  // there is no folder of that name
};

// Opens the folder of the user with that id, creating it (mode 0700) when
// create is set and it is missing (only the user's own can be made). It may
// be used only when it is a folder of that user's with mode 0700.
PrivateTempFolder OpenPrivateTempFolder(uid_t user, bool create);

// Whether a file, as fstat shows it, is one only the user with that id may
// read or write: a regular file of theirs with mode 0600.
bool IsPrivateFile(const struct stat& info, uid_t user);

}  // namespace vemra
