// The properties a project's ".editorconfig" files set for one file, as the
// reference library of that format reads them: it looks for the files from
// the file's folder upward, stops at one that says "root = true", matches
// the sections' globs against the file's path and lets a nearer file
// override a farther one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemra {

struct EditorConfigProperty {
  std::string name;   // lower case
  std::string value;  // lower case for the properties the format defines
};

// A line of a settings file; line 0 when the file is known but not the line.
struct SettingsLine {
  std::string file;
  std::int64_t line = 0;
};

// Where the settings files at and above nearest_file (the nearest to an
// input) set the property name to value, in a section: the nearest file
// that does, and its last line that does, read as the library reads lines
// (see EditorConfigProperties); the search ends at a file that says
// "root = true". The library does not say which line gave a value, and
// cannot tell whether the section of a line found so applies to the input:
// where two sections set the same value, the line named may be another of
// them. Without any such line, nearest_file with line 0.
SettingsLine LineSetting(const std::string& nearest_file, std::string_view name,
                         std::string_view value);

// The properties for the file at full_path (absolute; the file need not
// exist), in the library's order. Throws ESettingsError naming the settings
// file and line that cannot be parsed, and for any other fault the library
// reports.
std::vector<EditorConfigProperty> EditorConfigProperties(const std::string& full_path);

}  // namespace vemra
