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
#include "cli/git_work_trees.h"
#include "textutil/quote_name.h"

namespace vemra {

namespace {

// An input found, and for a file which file on disk it is.
struct Candidate {
  InputFile input;
  std::optional<FileIdentity> identity;  // none when the name cannot be looked at
};

// A folder to walk, and how git's rules stand there.
struct WalkedFolder {
  std::string path;      // as walked
  GitPlace place;        // where it stands in a work tree
  bool ignored = false;  // git ignores it and tracks nothing below: its files are only counted
};

class FolderWalk {
 public:
  // git: the work trees whose rules apply; none when they do not.
  FolderWalk(const std::vector<std::string>& extensions, GitWorkTrees* git,
             std::vector<Candidate>& found)
      : extensions_(extensions), git_(git), found_(found) {}

  // Walks folder and everything below it; false when it held no file, none
  // left out by the rules either.
  bool Walk(WalkedFolder folder) {
    const std::size_t files_before = files_ + ignored_;
    std::vector<WalkedFolder> pending;
    ReadFolder(std::move(folder), true, pending);
    while (!pending.empty()) {
      WalkedFolder next = std::move(pending.back());
      pending.pop_back();
      // A subfolder is listed only when it is no link, so that a link put in
      // its place since it was listed is not walked.
      ReadFolder(std::move(next), false, pending);
    }
    return files_ + ignored_ > files_before;
  }

  void Fail(const std::string& path, std::exception_ptr failure) {
    found_.push_back({{path, FailureOf(failure)}, std::nullopt});
    ++failures_;
  }

  // The entries that failed so far.
  std::size_t Failures() const { return failures_; }
  // The names with one of the extensions that the rules left out so far.
  std::size_t Ignored() const { return ignored_; }

 private:
  // Takes the folder's files and queues its subfolders. A folder that
  // cannot be opened, or whose listing breaks off, fails: the files it
  // holds would otherwise go unseen. One that git ignores is only counted,
  // and fails nothing.
  void ReadFolder(WalkedFolder folder, bool follow_link, std::vector<WalkedFolder>& pending) {
    const FolderListing listing = ListFolder(folder.path, follow_link);
    if (git_ != nullptr && !folder.ignored && HoldsRepository(listing) &&
        !(folder.place.tree != nullptr && folder.place.path.empty())) {
      try {
        folder.place = git_->Enter(folder.path, folder.place);
      } catch (const ESettingsError&) {
        Fail(folder.path, std::current_exception());
        return;
      }
    }
    for (const FolderEntry& entry : listing.entries) {
      // Hidden: names that begin with "." and, where the system marks them
      // so, files and folders it hides.
      if (entry.name.front() == '.' || entry.hidden) continue;
      const std::string path = JoinPath(folder.path, entry.name);
      try {
        TakeEntry(folder, entry, path, pending);
      } catch (const ESettingsError&) {
        Fail(path, std::current_exception());
      }
    }
    if (listing.error_code != 0 && !folder.ignored) {
      Fail(folder.path, std::make_exception_ptr(OpenFailure(folder.path, listing.error_code)));
    }
  }

  static bool HoldsRepository(const FolderListing& listing) {
    return std::any_of(listing.entries.begin(), listing.entries.end(),
                       [](const FolderEntry& entry) { return entry.name == ".git"; });
  }

  // An entry is looked at when the folder does not say what it is (some
  // file systems do not), and when it is a file to take, whose identity is
  // needed. One that cannot be looked at fails: it may be a folder, or a
  // file the walk would take.
  void TakeEntry(const WalkedFolder& folder, const FolderEntry& entry, const std::string& path,
                 std::vector<WalkedFolder>& pending) {
    const bool has_extension = HasExtension(entry.name, extensions_);
    // A file of another extension is passed over without a look.
    if (!has_extension && entry.kind_known && entry.kind != FileKind::kFolder &&
        entry.kind != FileKind::kLink) {
      return;
    }
    FileKind kind = entry.kind;
    PathLook look;
    const bool known_enough = entry.kind_known && (kind == FileKind::kFolder ||
                                                   kind == FileKind::kLink || folder.ignored);
    if (!known_enough) {
      look = LookAt(path, false);
      // Gone since it was listed fails too: it was there to be seen.
      if (!look.Exists()) {
        if (!folder.ignored)
          Fail(path, std::make_exception_ptr(OpenFailure(path, look.error_code)));
        return;
      }
      kind = look.kind;
    }
    if (kind == FileKind::kFolder) {
      QueueFolder(folder, entry.name, path, pending);
    } else if (kind != FileKind::kLink && !has_extension) {
      return;
    } else if (folder.ignored || LeftOut(folder.place, entry.name)) {
      if (has_extension) ++ignored_;
    } else if (kind == FileKind::kLink) {
      TakeLink(path, has_extension);
    } else if (kind != FileKind::kRegular) {
      Fail(path, std::make_exception_ptr(OpenFailure(path, NotRegularReason())));
    } else {
      found_.push_back({{path, std::nullopt, false, true}, look.identity});
      ++files_;
    }
  }

  // Whether git leaves out the file or link of that name in a folder at
  // place: it does not track it, and its rules ignore it.
  static bool LeftOut(const GitPlace& place, const std::string& name) {
    if (place.tree == nullptr) return false;
    const std::string path = place.path + name;
    return !place.tree->Tracks(path) && place.tree->Ignores(path);
  }

  // A subfolder git ignores is walked only to count its files, unless the
  // index tracks files in it, which git takes all the same.
  static void QueueFolder(const WalkedFolder& folder, const std::string& name,
                          const std::string& path, std::vector<WalkedFolder>& pending) {
    if (folder.ignored || folder.place.tree == nullptr) {
      pending.push_back({path, {}, folder.ignored});
      return;
    }
    GitPlace place{folder.place.tree, folder.place.path + name + "/"};
    if (!place.tree->TracksBelow(place.path) && place.tree->Ignores(place.path)) {
      pending.push_back({path, {}, true});
      return;
    }
    pending.push_back({path, std::move(place), false});
  }

  // A link is never followed: it may lead out of the tree, to a file that
  // is not the tree's to change. One that would have given the walk a file
  // or a folder is skipped, so that the summary counts it; one that leads
  // nowhere the walk would go is passed over, as other files are.
  // has_extension: the link's name has one of the extensions.
  void TakeLink(const std::string& path, bool has_extension) {
    if (has_extension) {
      found_.push_back({{path, std::nullopt, true, true}, std::nullopt});
      return;
    }
    const PathLook target = LookAt(path, true);
    if (target.Exists() && target.kind == FileKind::kFolder) {
      found_.push_back({{path, std::nullopt, true, true}, std::nullopt});
    }
  }

  const std::vector<std::string>& extensions_;
  GitWorkTrees* const git_;
  std::vector<Candidate>& found_;  // files, failures and skipped links
  std::size_t files_ = 0;          // of found_
  std::size_t failures_ = 0;       // of found_
  std::size_t ignored_ = 0;        // names with an extension the rules left out
};

// Where a named folder stands for git's rules: nowhere when the rules are
// off, or when they ignore the folder itself, which was named all the same.
GitPlace NamedFolderPlace(const std::string& name, GitWorkTrees* git) {
  if (git == nullptr) return {};
  GitPlace place = git->Find(name);
  if (place.tree != nullptr && !place.path.empty() && place.tree->Ignores(place.path)) return {};
  return place;
}

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

CollectedInputs CollectInputs(const std::vector<std::string>& names, const WalkChoices& choices) {
  std::vector<Candidate> found;
  // Opened only when a walk may need them.
  std::optional<GitWorkTrees> git;
  if (choices.git_rules && choices.walk_folders) git.emplace();
  GitWorkTrees* const rules = git ? &*git : nullptr;
  FolderWalk walk(choices.extensions, rules, found);
  for (const std::string& name : names) {
    const PathLook look = LookAt(name, true);
    if (look.Exists() && choices.walk_folders && look.kind == FileKind::kFolder) {
      const std::size_t failures_before = walk.Failures();
      try {
        // Found before the folder is built, so that a failure throws before
        // any member of it exists: g++ 12 mishandles the clean-up of the
        // members of a braced temporary when a later one throws.
        GitPlace place = NamedFolderPlace(name, rules);
        if (!walk.Walk({name, std::move(place)}) && walk.Failures() == failures_before) {
          walk.Fail(name, std::make_exception_ptr(EmptyFolderFailure(name, choices.extensions)));
        }
      } catch (const ESettingsError&) {
        walk.Fail(name, std::current_exception());
      }
      continue;
    }
    found.push_back(
        {{name, std::nullopt}, look.Exists() ? std::optional(look.identity) : std::nullopt});
  }
  return {SortedOnce(std::move(found)), walk.Ignored()};
}

}  // namespace vemra
