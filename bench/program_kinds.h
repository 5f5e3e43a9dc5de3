// Generated programs of the kinds that test a formatter's every path, not
// only the well-formed one.
#pragma once

#include <cstdint>
#include <string>

namespace vemra {

// A generated program of one of three kinds, chosen by seed % 3: as
// generated; cut short anywhere, so that it may end inside a block, a
// comment, a literal or a brace group; or with lines spliced in between its
// lines that can unsettle a layout (markers that remove line breaks, the
// token an accessor tests ending in blanks, tokens and blocks left open,
// region markers and comments that look like them).
// Always the same bytes for the same seed.
std::string GenerateProgramOfKind(std::uint64_t seed);

}  // namespace vemra
