// The promises every formatting run keeps, checked mechanically on any input:
// the program's meaning is kept, formatting again changes nothing, and the
// saved text is well formed. Shared by the fuzz targets and the unit tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemra {

struct FormatOptions {
  std::int32_t TabWidth = 2;
  bool UseTabs = false;
  bool CollapseBlankLines = true;
};

// The bytes a run would save for a file holding file_bytes.
std::string FormatFileBytes(std::string_view file_bytes, const FormatOptions& options);

// The tokens of text that carry meaning: every byte of value 0x20 or lower is
// deleted from each token, and tokens left empty are dropped. Indentation,
// TAB expansion and line trimming change nothing here.
std::vector<std::string> MeaningfulTokens(std::string_view text);

// Whether a marker starts at the 0-based index: "#id" in any letter case,
// not continued by another letter or "_" (which would make it a longer
// directive word).
bool MarkerAt(std::string_view text, std::size_t index);

// True when an "#id" marker of text removes a line break: a CR or LF token,
// or a comment, literal or brace group that holds one. The run that removes
// it joins two lines, and the saved file puts a line break back at its end,
// which the next run lays out: such a text may change once more.
bool MarkerRemovesLineBreak(std::string_view text);

// True when the second token after a "read" or "write" of text ends in a
// byte of value 0x20 or lower: a "//" comment or an unclosed double-quoted
// literal, which run to the end of their line, blanks included. Whether that
// token ends in "$" or "%" decides whether it opens a level; the saved file
// has its line trimmed, so the next run may decide otherwise.
bool AccessedTokenEndsInBlank(std::string_view text);

// Empty when every promise holds for file_bytes; otherwise a description of
// the first one broken.
std::string CheckFormatInvariants(std::string_view file_bytes, const FormatOptions& options);

}  // namespace vemra
