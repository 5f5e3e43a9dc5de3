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

// A file found, and which file on disk it is.
struct Candidate {
  std::string path;
  std::optional<FileIdentity> identity;  // none when the name cannot be looked at
};

class FolderWalk {
 public:
  FolderWalk(const std::vector<std::string>& extensions, std::vector<Candidate>& found,
             std::vector<InputFile>& failures)
      : extensions_(extensions), found_(found), failures_(failures) {}

  // Walks folder and everything below it; false when it held no file.
  bool Walk(const std::string& folder) {
    const std::size_t found_before = found_.size();
    std::vector<std::string> pending;
    ReadFolder(folder, 0, pending);
    while (!pending.empty()) {
      const std::string next = std::move(pending.back());
      pending.pop_back();
      // A subfolder is opened only when it is no link, so that a link put in
      // its place since it was listed is not walked.
      ReadFolder(next, O_NOFOLLOW, pending);
    }
    return found_.size() > found_before;
  }

 private:
  static std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
  }

  // Takes the folder's files and queues its subfolders.
  void ReadFolder(const std::string& folder, int open_flags, std::vector<std::string>& pending) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | open_flags);
    DIR* const stream = fd >= 0 ? fdopendir(fd) : nullptr;
    if (stream == nullptr) {
      const int error_code = errno;
      if (fd >= 0) close(fd);
      failures_.push_back(
          {folder, FailureOf(std::make_exception_ptr(OpenFailure(folder, error_code)))});
      return;
    }
    while (const dirent* entry = readdir(stream)) {
      const std::string_view name = entry->d_name;
      if (name.front() == '.') continue;  // hidden, and "." and ".."
      TakeEntry(dirfd(stream), folder, name, entry->d_type, pending);
    }
    closedir(stream);
  }

  void TakeEntry(int folder_fd, const std::string& folder, std::string_view name,
                 unsigned char type, std::vector<std::string>& pending) {
    struct stat link_info {};
    if (type == DT_UNKNOWN) {
      // Some file systems do not say what an entry is.
      if (fstatat(folder_fd, name.data(), &link_info, AT_SYMLINK_NOFOLLOW) != 0) return;
      type = S_ISDIR(link_info.st_mode)   ? DT_DIR
             : S_ISLNK(link_info.st_mode) ? DT_LNK
             : S_ISREG(link_info.st_mode) ? DT_REG
                                          : DT_UNKNOWN;
    }
    if (type == DT_DIR) {
      pending.push_back(Join(folder, name));
      return;
    }
    if ((type != DT_REG && type != DT_LNK) || !HasExtension(name, extensions_)) return;
    // A link is taken when it leads to a regular file: the save follows it
    // and replaces that file.
    struct stat info {};
    if (fstatat(folder_fd, name.data(), &info, 0) != 0 || !S_ISREG(info.st_mode)) return;
    found_.push_back({Join(folder, name), FileIdentity::Of(info)});
  }

  const std::vector<std::string>& extensions_;
  std::vector<Candidate>& found_;
  std::vector<InputFile>& failures_;
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

// The candidates sorted by path, each file once: the first path that reaches
// it keeps it.
std::vector<InputFile> SortedOnce(std::vector<Candidate> found, std::vector<InputFile> failures) {
  std::sort(found.begin(), found.end(),
            [](const Candidate& a, const Candidate& b) { return a.path < b.path; });
  std::set<std::pair<dev_t, ino_t>> seen_files;
  std::set<std::string_view> seen_paths;
  std::vector<InputFile> inputs;
  inputs.reserve(found.size() + failures.size());
  for (Candidate& candidate : found) {
    if (!seen_paths.insert(candidate.path).second) continue;
    if (candidate.identity &&
        !seen_files.emplace(candidate.identity->device, candidate.identity->inode).second) {
      continue;
    }
    inputs.push_back({std::move(candidate.path), std::nullopt});
  }
  for (InputFile& failure : failures) inputs.push_back(std::move(failure));
  std::stable_sort(inputs.begin(), inputs.end(),
                   [](const InputFile& a, const InputFile& b) { return a.path < b.path; });
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
  std::vector<InputFile> failures;
  FolderWalk walk(extensions, found, failures);
  for (const std::string& name : names) {
    struct stat info {};
    const bool known = stat(name.c_str(), &info) == 0;
    if (known && walk_folders && S_ISDIR(info.st_mode)) {
      const std::size_t failures_before = failures.size();
      if (!walk.Walk(name) && failures.size() == failures_before) {
        failures.push_back(
            {name, FailureOf(std::make_exception_ptr(EmptyFolderFailure(name, extensions)))});
      }
      continue;
    }
    found.push_back({name, known ? std::optional(FileIdentity::Of(info)) : std::nullopt});
  }
  return SortedOnce(std::move(found), std::move(failures));
}

}  // namespace vemra
