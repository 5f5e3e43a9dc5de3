// What git tracks and ignores in the work trees a folder walk goes through,
// as git's own library reads them: the index, the ".gitignore" files of
// every folder, ".git/info/exclude" and the user's core.excludesFile, with
// git's rules for negation, anchoring, "**", folder-only patterns and
// escapes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vemra {

class GitWorkTree;

// Where a walked folder stands.
struct GitPlace {
  GitWorkTree* tree = nullptr;  // none: outside every work tree
  std::string path;             // in the tree, with "/": "" at its top, else "a/b/"
};

// One work tree, its repository open for the life of the object.
class GitWorkTree {
 public:
  struct Handles;
  explicit GitWorkTree(std::unique_ptr<Handles> handles);
  ~GitWorkTree();

  // Whether the index holds a file at path (as in GitPlace, without a
  // trailing "/"): git takes such a file whatever the patterns say.
  bool Tracks(const std::string& path) const;
  // Whether the index holds a file anywhere below the folder at path
  // (ending in "/").
  bool TracksBelow(const std::string& folder_path) const;
  // Whether the rules leave out path; a folder's path ends in "/". A file
  // in a folder they leave out is left out too. Throws ESettingsError when
  // a rule file cannot be read.
  bool Ignores(const std::string& path) const;

 private:
  std::unique_ptr<Handles> handles_;
};

// The work trees of one walk, each opened once, however many folders of it
// are walked. Not to be shared between threads.
class GitWorkTrees {
 public:
  GitWorkTrees();
  ~GitWorkTrees();
  GitWorkTrees(const GitWorkTrees&) = delete;
  GitWorkTrees& operator=(const GitWorkTrees&) = delete;

  // Where the folder (an existing folder, as walked) stands: in the work
  // tree that holds it, found from it upward as git finds it, or nowhere.
  // Throws ESettingsError when a repository is found but cannot be read.
  GitPlace Find(const std::string& folder);

  // The place of a walked folder that holds a ".git" of its own: the top of
  // the work tree of that repository, or outer as it was when it holds
  // none. Throws ESettingsError as Find does.
  GitPlace Enter(const std::string& folder, const GitPlace& outer);

 private:
  // The place of folder in the work tree git opens from it with flags;
  // none when there is none, or folder is not inside it.
  std::optional<GitPlace> Open(const std::string& folder, unsigned flags);

  std::vector<std::unique_ptr<GitWorkTree>> trees_;
  std::vector<std::string> tops_;  // the top folder of each of trees_, as git names it
};

}  // namespace vemra
