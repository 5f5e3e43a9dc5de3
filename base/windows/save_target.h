// Where a save of a file name lands: the file that opening the name reaches,
// every symbolic link and ".." resolved by the file system, so that a link
// stays and the file it points to is replaced; or, for a file not there yet,
// the name in its folder as the file system resolves that folder.
#pragma once

#include <string>

namespace vemra {

struct SaveTarget {
  // The full path in its ordinary form ("C:\src\f.vem", "\\server\share\f.vem"):
  // how the file is known to its backup and to the load.
  std::string full_path;
  std::wstring path;    // the same, verbatim, for the wide file functions
  std::wstring folder;  // its folder, verbatim: where the save's files are made
};

// Throws EFCreateError, naming file_name, when the folder is missing or not
// a folder, or when the name is a link that leads nowhere.
SaveTarget ResolveSaveTarget(const std::string& file_name);

}  // namespace vemra
