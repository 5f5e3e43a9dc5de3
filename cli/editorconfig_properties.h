// The properties a project's ".editorconfig" files set for one file, as the
// reference library of that format reads them: it looks for the files from
// the file's folder upward, stops at one that says "root = true", matches
// the sections' globs against the file's path and lets a nearer file
// override a farther one.
#pragma once

#include <string>
#include <vector>

namespace vemra {

struct EditorConfigProperty {
  std::string name;   // lower case
  std::string value;  // lower case for the properties the format defines
};

// The properties for the file at full_path (absolute; the file need not
// exist), in the library's order. Throws ESettingsError naming the settings
// file and line that cannot be parsed, and for any other fault the library
// reports.
std::vector<EditorConfigProperty> EditorConfigProperties(const std::string& full_path);

}  // namespace vemra
