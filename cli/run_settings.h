// The values one run of the program works with, and how each command-line
// argument sets them.
#pragma once

#include <cstdint>
#include <string>

namespace vemra {

struct RunSettings {
  bool UseTabs = false;         // "tabs": keep TAB characters instead of blanks
  std::int32_t TabWidth = 2;    // "tabwidth": blanks per TAB when they are expanded
  bool KeepExtraLines = false;  // "extralines": keep runs of empty lines
  bool Check = false;           // "check": report whether formatting would change the file
  bool Diff = false;            // "diff": as "check", and show the changes as a unified diff
  // The file names as given: the files are opened through them, so that the
  // file system resolves their links and ".."; messages show ExpandPath.
  std::string InputPath;   // first file name; empty: none given
  std::string OutputPath;  // last of the later file names; empty: write over the input
};

// Takes one argument: "-name=value" sets the option of that name (letter case
// ignored; unknown names are ignored), anything else is a file name. Throws
// EConvertError when an option value does not convert.
void ApplyArgument(const std::string& argument, RunSettings& settings);

}  // namespace vemra
