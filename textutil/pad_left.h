#pragma once

#include <cstdint>
#include <string>

namespace vemra {

// count copies of c; empty for a count of 0 or less.
std::string RepeatChar(char c, std::int32_t count);
// Prefixes text with copies of c until it is width bytes long; a text already
// that long (every width of 0 or less) is unchanged.
void PadLeft(std::string& text, char c, std::int32_t width);

}  // namespace vemra
