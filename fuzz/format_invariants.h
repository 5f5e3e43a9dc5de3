// The promises every formatting run keeps, checked mechanically on any input:
// the program's meaning is kept, formatting again changes nothing, and the
// saved text is well formed. Shared by the fuzz targets and the unit tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/format_pass.h"

namespace vemra {

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

// Empty when every promise holds for file_bytes; otherwise a description of
// the first one broken.
std::string CheckFormatInvariants(std::string_view file_bytes, const FormatOptions& options);

}  // namespace vemra
