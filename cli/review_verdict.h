// What a review ("check" and "diff") says about one input: the file is
// loaded and formatted as usual, but never saved; the verdict tells whether
// formatting would change it, and with "diff" also how.
#pragma once

#include <string>
#include <vector>

#include "base/string_list.h"

namespace vemra {

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
