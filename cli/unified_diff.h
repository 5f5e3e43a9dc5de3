// A unified diff ("diff -u" layout) between two lists of lines.
#pragma once

#include <string>
#include <vector>

namespace vemra {

// The hunks, with three lines of context, that turn old_lines into new_lines,
// after the header lines "--- old_label" and "+++ new_label". Every line of
// the result ends in LF. Empty when the two lists are equal.
std::string UnifiedDiff(const std::vector<std::string>& old_lines,
                        const std::vector<std::string>& new_lines, const std::string& old_label,
                        const std::string& new_label);

}  // namespace vemra
