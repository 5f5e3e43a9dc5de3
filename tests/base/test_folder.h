// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to put bytes into files and read them back.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vemra::testing {

class TestFolder {
 public:
  TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vemra-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TestFolder() {
    std::error_code ignored;
    // Give back write permission that a test may have taken away.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

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
    setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TempFolderVariable() {
    if (had_old_) {
      setenv("TMPDIR", old_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  TempFolderVariable(const TempFolderVariable&) = delete;
  TempFolderVariable& operator=(const TempFolderVariable&) = delete;

 private:
  bool had_old_ = false;
  std::string old_;
};

inline std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

inline std::set<std::string> TestFolder::Names() const {
  return NamesIn(path_);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets the file's modification time far into the past (second 1000000000),
// to see whether a run rewrote or touched it.
inline void MakeOld(const std::string& path) {
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

inline struct stat StatOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

}  // namespace vemra::testing
