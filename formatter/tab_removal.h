// Removing TABs when they stand for no blanks at all (a TAB width of 0 or
// less).
#pragma once

#include <string>

namespace vemra {

// Deletes every run of TABs in text, in place, except where the bytes on
// either side would then read differently: after a backslash (which would
// escape the next byte of a double-quoted literal instead of the TAB) and
// between "*" and "/" (which would end a block comment early). There the run
// becomes one blank, so every comment and literal keeps its extent.
void RemoveTabs(std::string& text);

}  // namespace vemra
