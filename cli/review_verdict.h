// The review modes of a run ("check" and "diff"): the file is loaded and
// formatted as usual, but never saved; the run reports whether formatting
// would change it, and "diff" also shows how.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/string_list.h"
#include "cli/run_settings.h"

namespace vemra {

// Loads and formats settings.InputPath, printing the same
// progress lines as a formatting run, then one line saying whether the file
// is already formatted, and with settings.Diff the unified diff. Returns
// kExitSuccess when formatting would change nothing, kExitWouldChange when it
// would change the file's bytes. Failures leave as exceptions.
int ReviewFile(std::ostream& console, const RunSettings& settings);

// What a review says about one file.
struct ReviewVerdict {
  bool would_change;  // formatting would change the file's bytes
  // "Already formatted: PATH" or "Would reformat: PATH", and with "diff" the
  // changes under it; every line ends in LF.
  std::string text;
};

// The verdict on a file that held original and, formatted, holds formatted;
// loaded_lines are its lines as loaded, needed only when diff is set. path
// is the name the verdict and the diff's headers show.
ReviewVerdict Review(const std::string& original, const std::vector<std::string>& loaded_lines,
                     const TStringList& formatted, const std::string& path, bool diff);

// The lines of a list, as a diff compares them.
std::vector<std::string> LinesOf(const TStringList& list);

}  // namespace vemra
