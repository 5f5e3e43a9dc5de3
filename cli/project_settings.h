// The options each input is formatted with: what the command line gives,
// and for what it leaves open, what the project's ".editorconfig" files say
// for that input.
#pragma once

#include <string>
#include <vector>

#include "cli/file_options.h"
#include "cli/run_settings.h"
#include "cli/settings_file_search.h"

namespace vemra {

struct InputOptions {
  FileOptions options;
  bool skip = false;  // the settings ask a walk to leave the input alone (vemrafmt_skip)
  // Properties of the settings files passed over, one line each without a
  // line end, for standard error.
  std::vector<std::string> warnings;
};

// Read by the properties of the settings files:
//   indent_style = tab | space    -> tabs
//   indent_size = N               -> tabwidth (tab_width when it is "tab")
//   end_of_line = lf | crlf       -> lineends ("cr" is passed over with a warning)
// Other values are not valid for the property, and passed over. The
// program's own properties, whose values are true or false in any letter
// case, and fail the input with ESettingsError naming the line otherwise:
//   vemrafmt_extralines           -> extralines
//   vemrafmt_skip                 -> a walk leaves the input alone
class ProjectSettings {
 public:
  // The settings are kept for the life of the object, which keeps what it
  // found in each folder for the next input there.
  explicit ProjectSettings(const RunSettings& settings);

  // The options for the input of that name, as given (relative names are
  // taken from the current folder); an empty name stands for a text of no
  // file, which only the command line sets. Throws ESettingsError when a
  // settings file that may apply cannot be read or parsed. Safe to call
  // from several threads.
  InputOptions For(const std::string& name);

 private:
  const RunSettings& settings_;
  SettingsFileSearch search_;
};

}  // namespace vemra
