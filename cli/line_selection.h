// -lines: a run that changes only the given lines of its one input. The
// whole text is formatted, and the lines take their formatted form by the
// rule the language server's range formatting follows (StretchesWithin).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/run_settings.h"

namespace vemra {

// Refuses -lines where it has no one text to act on: with many files, a
// review or -lsp. Throws EArgumentError.
void CheckLineSelection(const RunSettings& settings);

// The original text with only the given lines (1-based, inclusive; lines
// past the end are none) in their formatted form: the rest keep their bytes,
// line ends included.
std::string OnlyTheseLines(std::string_view original, std::string_view formatted,
                           const std::vector<LineRange>& ranges);

}  // namespace vemra
