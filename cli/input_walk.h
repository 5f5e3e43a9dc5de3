// The files a many-files run works on: the names it was given, with every
// named folder walked for the files it holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/failure_text.h"

namespace vemra {

// One input: a file to work on, a name that gives none, or a link skipped.
struct InputFile {
  std::string path;                    // as given, or as walked from a given folder
  std::optional<FailureText> failure;  // set when the name gives no file to work on
  bool skipped_link = false;           // a symbolic link the walk met and did not follow
};

// Whether a file name ends in "." and one of the extensions (lower case,
// without the dot), in any letter case, after at least one other byte.
bool HasExtension(std::string_view file_name, const std::vector<std::string>& extensions);

// The inputs for these names, sorted by path. A name that is not a folder,
// or every name when walk_folders is false, is taken as it is, through a
// symbolic link too (a name that does not exist fails when it is loaded). A
// folder is walked through its subfolders for regular files with one of the
// extensions; names that begin with "." are passed over. The walk follows
// no symbolic link: a link with one of the extensions, or one that leads to
// a folder, is an input marked skipped_link; other links are passed over.
// Every entry the walk cannot look at (a folder that cannot be opened or
// read, an entry whose kind or identity cannot be had) is an input with a
// failure, and so is a pipe, socket or device with one of the extensions,
// and a named folder that holds no file to work on. A file reached by two
// paths (twice named, or a hard link) is listed once, under the first of
// its paths.
std::vector<InputFile> CollectInputs(const std::vector<std::string>& names,
                                     const std::vector<std::string>& extensions, bool walk_folders);

}  // namespace vemra
