// A unified diff of two texts, as "diff -u" shows the difference between
// two files that hold them: the patch that the tools which apply patches
// take as it is.
#pragma once

#include <string>
#include <string_view>

namespace vemra {

// How the diff marks its lines for a terminal: no escapes at all, or
// colours (bold headers, cyan hunk headers, red lines taken out, green ones
// put in).
enum class DiffColours { kNone, kTerminal };

// The hunks, with three lines of context, that turn old_text into
// new_text, after the header lines "--- old_label" and "+++ new_label"
// (labels with control bytes quoted as git quotes them, and a label with a
// blank followed by a TAB, as git writes it, so that every tool reads the
// whole name). The texts are cut into lines after each LF, as diff cuts
// them; every line keeps its own bytes, a CR before the LF included, and a
// last line without an LF is followed by "\ No newline at end of file". The
// header and hunk lines end in LF. Empty when the texts are equal.
std::string UnifiedDiff(std::string_view old_text, std::string_view new_text,
                        const std::string& old_label, const std::string& new_label,
                        DiffColours colours = DiffColours::kNone);

}  // namespace vemra
