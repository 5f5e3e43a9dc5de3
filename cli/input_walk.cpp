#include "cli/input_walk.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "base/conversions.h"
#include "base/expand_path.h"
#include "base/failures.h"
#include "base/file_failures.h"
#include "base/file_identity.h"
#include "base/file_kind.h"
#include "base/folder_listing.h"
#include "base/path_parts.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// An input found, and for a file which file on disk it is.
struct Candidate {
  InputFile input;
  std::optional<FileIdentity> identity;  // none when the name cannot be looked at
};

class FolderWalk {
 public:
  FolderWalk(const std::vector<std::string>& extensions, std::vector<Candidate>& found)
      : extensions_(extensions), found_(found) {}

  // Walks folder and everything below it; false when it held no file.
  bool Walk(const std::string& folder) {
    const std::size_t files_before = files_;
    std::vector<std::string> pending;
    ReadFolder(folder, true, pending);
    while (!pending.empty()) {
      const std::string next = std::move(pending.back());
      pending.pop_back();
      // A subfolder is listed only when it is no link, so that a link put in
      // its place since it was listed is not walked.
      ReadFolder(next, false, pending);
    }
    return files_ > files_before;
  }

  // The entries that failed so far.
  std::size_t Failures() const { return failures_; }

 private:
  void Fail(const std::string& path, const EFOpenError& failure) {
    found_.push_back({{path, FailureOf(std::make_exception_ptr(failure))}, std::nullopt});
    ++failures_;
  }

  // Takes the folder's files and queues its subfolders. A folder that
  // cannot be opened, or whose listing breaks off, fails: the files it
  // holds would otherwise go unseen.
  void ReadFolder(const std::string& folder, bool follow_link, std::vector<std::string>& pending) {
    const FolderListing listing = ListFolder(folder, follow_link);
    for (const FolderEntry& entry : listing.entries) {
      // Hidden: names that begin with "." and, where the system marks them
      // so, files and folders it hides.
      if (entry.name.front() == '.' || entry.hidden) continue;
      TakeEntry(folder, entry, pending);
    }
    if (listing.error_code != 0) Fail(folder, OpenFailure(folder, listing.error_code));
  }

  // An entry is looked at when the folder does not say what it is (some
  // file systems do not), and when it is a file to take, whose identity is
  // needed. One that cannot be looked at fails: it may be a folder, or a
  // file the walk would take.
  void TakeEntry(const std::string& folder, const FolderEntry& entry,
                 std::vector<std::string>& pending) {
    const bool has_extension = HasExtension(entry.name, extensions_);
    // A file of another extension is passed over without a look.
    if (!has_extension && entry.kind_known && entry.kind != FileKind::kFolder &&
        entry.kind != FileKind::kLink) {
      return;
    }
    const std::string path = JoinPath(folder, entry.name);
    if (entry.kind_known && entry.kind == FileKind::kFolder) {
      pending.push_back(path);
      return;
    }
    if (entry.kind_known && entry.kind == FileKind::kLink) {
      TakeLink(path, has_extension);
      return;
    }
    const PathLook look = LookAt(path, false);
    if (!look.Exists()) {
      // Gone since it was listed fails too: it was there to be seen.
      Fail(path, OpenFailure(path, look.error_code));
    } else if (look.kind == FileKind::kFolder) {
      pending.push_back(path);
    } else if (look.kind == FileKind::kLink) {
      TakeLink(path, has_extension);
    } else if (!has_extension) {
      return;
    } else if (look.kind != FileKind::kRegular) {
      Fail(path, OpenFailure(path, NotRegularReason()));
    } else {
      found_.push_back({{path, std::nullopt}, look.identity});
      ++files_;
    }
  }

  // A link is never followed: it may lead out of the tree, to a file that
  // is not the tree's to change. One that would have given the walk a file
  // or a folder is skipped, so that the summary counts it; one that leads
  // nowhere the walk would go is passed over, as other files are.
  // has_extension: the link's name has one of the extensions.
  void TakeLink(const std::string& path, bool has_extension) {
    if (has_extension) {
      found_.push_back({{path, std::nullopt, true}, std::nullopt});
      return;
    }
    const PathLook target = LookAt(path, true);
    if (target.Exists() && target.kind == FileKind::kFolder) {
      found_.push_back({{path, std::nullopt, true}, std::nullopt});
    }
  }

  const std::vector<std::string>& extensions_;
  std::vector<Candidate>& found_;  // files, failures and skipped links
  std::size_t files_ = 0;          // of found_
  std::size_t failures_ = 0;       // of found_
};

std::string ExtensionList(const std::vector<std::string>& extensions) {
  std::string list;
  for (const std::string& extension : extensions) {
    if (!list.empty()) list += " or ";
    list += "." + extension;
  }
  return list;
}

EArgumentError EmptyFolderFailure(const std::string& folder,
                                  const std::vector<std::string>& extensions) {
  return EArgumentError("No " + ExtensionList(extensions) + " file in folder \"" +
                        EscapedName(ExpandPath(folder)) + "\"");
}

// The inputs sorted by path, each path and each file once: the first path
// that reaches a file keeps it.
std::vector<InputFile> SortedOnce(std::vector<Candidate> found) {
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    return a.input.path < b.input.path;
  });
  std::set<std::pair<std::uint64_t, std::uint64_t>> seen_files;
  std::vector<InputFile> inputs;
  inputs.reserve(found.size());
  for (Candidate& candidate : found) {
    if (!inputs.empty() && inputs.back().path == candidate.input.path) continue;
    if (candidate.identity &&
        !seen_files.emplace(candidate.identity->device, candidate.identity->file).second) {
      continue;
    }
    inputs.push_back(std::move(candidate.input));
  }
  return inputs;
}

}  // namespace

bool HasExtension(std::string_view file_name, const std::vector<std::string>& extensions) {
  for (const std::string& extension : extensions) {
    if (file_name.size() < extension.size() + 2) continue;
    const std::size_t dot = file_name.size() - extension.size() - 1;
    if (file_name[dot] == '.' && LowerAscii(file_name.substr(dot + 1)) == extension) return true;
  }
  return false;
}

std::vector<InputFile> CollectInputs(const std::vector<std::string>& names,
                                     const std::vector<std::string>& extensions,
                                     bool walk_folders) {
  std::vector<Candidate> found;
  FolderWalk walk(extensions, found);
  for (const std::string& name : names) {
    const PathLook look = LookAt(name, true);
    if (look.Exists() && walk_folders && look.kind == FileKind::kFolder) {
      const std::size_t failures_before = walk.Failures();
      if (!walk.Walk(name) && walk.Failures() == failures_before) {
        found.push_back(
            {{name, FailureOf(std::make_exception_ptr(EmptyFolderFailure(name, extensions)))},
             std::nullopt});
      }
      continue;
    }
    found.push_back(
        {{name, std::nullopt}, look.Exists() ? std::optional(look.identity) : std::nullopt});
  }
  return SortedOnce(std::move(found));
}

}  // namespace vemra
