// Where a project keeps its settings files: the nearest ".editorconfig" at
// or above a folder. Each folder is looked at once per run, however many
// files it holds, and a run without settings files never reads settings.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace vemra {

inline constexpr const char* kSettingsFileName = ".editorconfig";

class SettingsFileSearch {
 public:
  // The nearest settings file at or above folder (an absolute path, "/" or
  // without a trailing slash), or empty when there is none. Throws
  // ESettingsError when one on the way up to "/" is there but cannot be
  // opened, or is not a file: the settings of files below it are not known.
  // Safe to call from several threads.
  std::string NearestFile(const std::string& folder);

 private:
  struct Found {
    std::string nearest;                 // empty: none at or above the folder
    std::optional<std::string> failure;  // the first file on the way up that cannot be read
  };

  const Found& Lookup(const std::string& folder);

  std::mutex mutex_;
  std::unordered_map<std::string, Found> folders_;  // by folder
};

}  // namespace vemra
