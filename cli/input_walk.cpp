#include "cli/input_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "base/conversions.h"
#include "base/expand_path.h"
#include "base/failures.h"
#include "base/file_failures.h"
#include "base/file_identity.h"
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
    ReadFolder(folder, 0, pending);
    while (!pending.empty()) {
      const std::string next = std::move(pending.back());
      pending.pop_back();
      // A subfolder is opened only when it is no link, so that a link put in
      // its place since it was listed is not walked.
      ReadFolder(next, O_NOFOLLOW, pending);
    }
    return files_ > files_before;
  }

  // The entries that failed so far.
  std::size_t Failures() const { return failures_; }

 private:
  static std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
  }

  void Fail(const std::string& path, const EFOpenError& failure) {
    found_.push_back({{path, FailureOf(std::make_exception_ptr(failure))}, std::nullopt});
    ++failures_;
  }

  // Takes the folder's files and queues its subfolders. A folder that
  // cannot be opened, or whose listing breaks off, fails: the files it
  // holds would otherwise go unseen.
  void ReadFolder(const std::string& folder, int open_flags, std::vector<std::string>& pending) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | open_flags);
    DIR* const stream = fd >= 0 ? fdopendir(fd) : nullptr;
    if (stream == nullptr) {
      const int error_code = errno;
      if (fd >= 0) close(fd);
      Fail(folder, OpenFailure(folder, error_code));
      return;
    }
    for (;;) {
      errno = 0;
      const dirent* const entry = readdir(stream);
      if (entry == nullptr) {
        if (errno != 0) Fail(folder, OpenFailure(folder, errno));
        break;
      }
      const std::string_view name = entry->d_name;
      if (name.front() == '.') continue;  // hidden, and "." and ".."
      TakeEntry(dirfd(stream), folder, entry->d_name, entry->d_type, pending);
    }
    closedir(stream);
  }

  // An entry is looked at when the folder does not say what it is (some
  // file systems do not), and when it is a file to take, whose identity is
  // needed. One that cannot be looked at fails: it may be a folder, or a
  // file the walk would take.
  void TakeEntry(int folder_fd, const std::string& folder, const char* name, unsigned char type,
                 std::vector<std::string>& pending) {
    const bool has_extension = HasExtension(name, extensions_);
    // A file of another extension is passed over without a look.
    if (!has_extension && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) return;
    const std::string path = Join(folder, name);
    if (type == DT_DIR) {
      pending.push_back(path);
      return;
    }
    if (type == DT_LNK) {
      TakeLink(folder_fd, path, name, has_extension);
      return;
    }
    struct stat info {};
    if (fstatat(folder_fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      Fail(path, OpenFailure(path, errno));
    } else if (S_ISDIR(info.st_mode)) {
      pending.push_back(path);
    } else if (S_ISLNK(info.st_mode)) {
      TakeLink(folder_fd, path, name, has_extension);
    } else if (!has_extension) {
      return;
    } else if (!S_ISREG(info.st_mode)) {
      Fail(path, OpenFailure(path, NotRegularReason()));
    } else {
      found_.push_back({{path, std::nullopt}, FileIdentity::Of(info)});
      ++files_;
    }
  }

  // A link is never followed: it may lead out of the tree, to a file that
  // is not the tree's to change. One that would have given the walk a file
  // or a folder is skipped, so that the summary counts it; one that leads
  // nowhere the walk would go is passed over, as other files are.
  // has_extension: the link's name has one of the extensions.
  void TakeLink(int folder_fd, const std::string& path, const char* name, bool has_extension) {
    struct stat target {};
    if (has_extension || (fstatat(folder_fd, name, &target, 0) == 0 && S_ISDIR(target.st_mode))) {
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
  std::set<std::pair<dev_t, ino_t>> seen_files;
  std::vector<InputFile> inputs;
  inputs.reserve(found.size());
  for (Candidate& candidate : found) {
    if (!inputs.empty() && inputs.back().path == candidate.input.path) continue;
    if (candidate.identity &&
        !seen_files.emplace(candidate.identity->device, candidate.identity->inode).second) {
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
    struct stat info {};
    const bool known = stat(name.c_str(), &info) == 0;
    if (known && walk_folders && S_ISDIR(info.st_mode)) {
      const std::size_t failures_before = walk.Failures();
      if (!walk.Walk(name) && walk.Failures() == failures_before) {
        found.push_back(
            {{name, FailureOf(std::make_exception_ptr(EmptyFolderFailure(name, extensions)))},
             std::nullopt});
      }
      continue;
    }
    found.push_back(
        {{name, std::nullopt}, known ? std::optional(FileIdentity::Of(info)) : std::nullopt});
  }
  return SortedOnce(std::move(found));
}

}  // namespace vemra
