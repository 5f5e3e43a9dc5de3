#include "cli/git_work_trees.h"

#include <git2.h>

#include <optional>

#include "base/failures.h"
#include "base/file_kind.h"
#include "base/path_parts.h"
#include "textutil/quote_name.h"

namespace vemra {

struct GitWorkTree::Handles {
  git_repository* repository = nullptr;
  git_index* index = nullptr;

  ~Handles() {
    git_index_free(index);
    git_repository_free(repository);
  }
};

namespace {

// The library's words for its last failure.
std::string LastGitError() {
  const git_error* const error = git_error_last();
  return error != nullptr && error->message != nullptr ? error->message : "unknown fault";
}

ESettingsError RulesFailure(const std::string& path) {
  return ESettingsError("Cannot read the git rules for \"" + EscapedName(path) +
                        "\": " + LastGitError());
}

// The path of folder below top (an existing folder), with "/" and a
// trailing "/": "" for top itself; none when folder is not below it. Found
// by which folder each step up is, so that links and the system's spelling
// of paths make no difference.
std::optional<std::string> PathBelow(const std::string& folder, const std::string& top) {
  const PathLook top_look = LookAt(top, true);
  std::string step = ResolvedPath(folder);
  if (!top_look.Exists() || step.empty()) return std::nullopt;
  std::string below;
  for (;;) {
    const PathLook look = LookAt(step, true);
    if (look.Exists() && look.identity.SameFile(top_look.identity)) return below;
    if (IsRootFolder(step)) return std::nullopt;
    below = NameOf(step) + "/" + below;
    step = FolderOf(step);
  }
}

}  // namespace

GitWorkTree::GitWorkTree(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

GitWorkTree::~GitWorkTree() = default;

bool GitWorkTree::Tracks(const std::string& path) const {
  std::size_t position = 0;
  return git_index_find(&position, handles_->index, path.c_str()) == 0;
}

bool GitWorkTree::TracksBelow(const std::string& folder_path) const {
  std::size_t position = 0;
  return git_index_find_prefix(&position, handles_->index, folder_path.c_str()) == 0;
}

bool GitWorkTree::Ignores(const std::string& path) const {
  int ignored = 0;
  if (git_ignore_path_is_ignored(&ignored, handles_->repository, path.c_str()) < 0) {
    throw RulesFailure(git_repository_workdir(handles_->repository) + path);
  }
  return ignored != 0;
}

GitWorkTrees::GitWorkTrees() {
  git_libgit2_init();
}

GitWorkTrees::~GitWorkTrees() {
  trees_.clear();
  git_libgit2_shutdown();
}

GitPlace GitWorkTrees::Find(const std::string& folder) {
  return Open(folder, 0).value_or(GitPlace{});
}

GitPlace GitWorkTrees::Enter(const std::string& folder, const GitPlace& outer) {
  return Open(folder, GIT_REPOSITORY_OPEN_NO_SEARCH).value_or(outer);
}

std::optional<GitPlace> GitWorkTrees::Open(const std::string& folder, unsigned flags) {
  auto handles = std::make_unique<GitWorkTree::Handles>();
  const int opened = git_repository_open_ext(&handles->repository, folder.c_str(), flags, nullptr);
  if (opened == GIT_ENOTFOUND) return std::nullopt;
  if (opened < 0) throw RulesFailure(folder);
  // A repository without a work tree has no files of its own to walk.
  const char* const top = git_repository_workdir(handles->repository);
  if (top == nullptr) return std::nullopt;
  std::optional<std::string> below = PathBelow(folder, top);
  if (!below) return std::nullopt;
  for (std::size_t i = 0; i < tops_.size(); ++i) {
    if (tops_[i] == top) return GitPlace{trees_[i].get(), std::move(*below)};
  }
  if (git_repository_index(&handles->index, handles->repository) < 0) throw RulesFailure(folder);
  tops_.emplace_back(top);
  trees_.push_back(std::make_unique<GitWorkTree>(std::move(handles)));
  return GitPlace{trees_.back().get(), std::move(*below)};
}

}  // namespace vemra
