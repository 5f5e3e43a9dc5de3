// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to put bytes into files and read them back. Names are UTF-8
// on every system.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/support/test_system.h"

namespace vemra::testing {

// The path for a UTF-8 name, on every system.
inline std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// A path's UTF-8 name.
inline std::string NameOf(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

class TestFolder {
 public:
  TestFolder() : path_(NewPrivateFolder("vemra-test-")) {}
  ~TestFolder() {
    std::error_code ignored;
    // Give back write permission that a test may have taken away.
    std::filesystem::permissions(PathOf(path_), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(PathOf(path_), ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + PathSeparator() + name; }

  // The names in the folder, to see that no temporary file was left behind.
  std::set<std::string> Names() const;

 private:
  std::string path_;
};

// Points TMPDIR at a folder for the life of the object, so that a test sees
// what a save leaves in the temporary folder.
class TempFolderVariable {
 public:
  explicit TempFolderVariable(const std::string& folder) {
    const char* const old = std::getenv("TMPDIR");
    had_old_ = old != nullptr;
    if (had_old_) old_ = old;
    SetVariable("TMPDIR", folder);
  }
  ~TempFolderVariable() {
    if (had_old_) {
      SetVariable("TMPDIR", old_);
    } else {
      UnsetVariable("TMPDIR");
    }
  }
  TempFolderVariable(const TempFolderVariable&) = delete;
  TempFolderVariable& operator=(const TempFolderVariable&) = delete;

 private:
  bool had_old_ = false;
  std::string old_;
};

// Makes a folder the current one for the life of the object, for runs
// whose output names files from the current folder.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(PathOf(folder));
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path old_;
};

inline std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder))) {
    names.insert(NameOf(entry.path().filename()));
  }
  return names;
}

inline std::set<std::string> TestFolder::Names() const {
  return NamesIn(path_);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(PathOf(path), std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets the file's modification time far into the past (second 1000000000),
// to see whether a run rewrote or touched it.
inline void MakeOld(const std::string& path) {
  SetModifiedTime(path, 1000000000);
}

// The second of the file's modification time.
inline std::int64_t ModifiedSecond(const std::string& path) {
  return ModifiedTime(path).seconds;
}

}  // namespace vemra::testing
