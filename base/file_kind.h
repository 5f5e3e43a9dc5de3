// What a name stands for on disk, looked at without reading it: a regular
// file, a folder, a symbolic link (or, on Windows, a junction), or something
// else (a pipe, socket or device).
#pragma once

#include <string>

#include "base/file_identity.h"

namespace vemra {

enum class FileKind { kRegular, kFolder, kLink, kOther };

struct PathLook {
  int error_code = 0;     // the system's reason when nothing could be looked at
  bool missing = false;   // that reason is: nothing is there (nor the folder)
  FileKind kind{};        // what it is, when it could be looked at
  FileIdentity identity;  // which file, when it could be looked at

  bool Exists() const { return error_code == 0; }
};

// Looks at path; follow_links looks through links to what they lead to, so
// that kLink only comes without it.
PathLook LookAt(const std::string& path, bool follow_links);

// Opens path for reading, following links, and looks at what was opened,
// so that a name that cannot be read shows its error; a pipe is opened
// without waiting for its other end.
PathLook LookByOpening(const std::string& path);

}  // namespace vemra
