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
  bool walked = false;                 // found by a walk, not named on the command line
};

// What a walk through a named folder takes.
struct WalkChoices {
  std::vector<std::string> extensions;  // lower case, without the dot
  bool walk_folders = true;             // false: a folder's name is an input as it is
  bool git_rules = false;               // leave out what git ignores
};

struct CollectedInputs {
  std::vector<InputFile> inputs;  // sorted by path
  // Names with one of the extensions that git's rules left out of a walk.
  std::size_t ignored = 0;
};

// Whether a file name ends in "." and one of the extensions (lower case,
// without the dot), in any letter case, after at least one other byte.
bool HasExtension(std::string_view file_name, const std::vector<std::string>& extensions);

// The inputs for these names, sorted by path. A name that is not a folder,
// or every name when choices.walk_folders is false, is taken as it is, through a
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
//
// With choices.git_rules, a walk inside a git work tree (or a repository's
// work tree met on the way down) leaves out, and only counts, what git
// ignores there: files the index tracks are taken whatever the patterns
// say, and a folder the rules leave out is walked only for the files
// tracked in it. A named folder that git ignores is walked as if outside
// every work tree, as it was asked for by name. A repository that cannot be
// read fails the folder where the walk found it, which is then not walked.
CollectedInputs CollectInputs(const std::vector<std::string>& names, const WalkChoices& choices);

}  // namespace vemra
