// The texts of -help and -version.
#pragma once

#include <string>

namespace vemra {

// The synopsis, every option with its value and default (from the option
// table), the exit statuses and an example each for an editor, a CI job
// and a code base.
std::string UsageText();

// "vemrafmt (Vemra Code Formatter) 1.0": the version set by the build.
std::string VersionText();

}  // namespace vemra
