#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemra {

// Replaces every non-overlapping occurrence of pattern, left to right, and
// returns how many were replaced. The result is built in one allocation of its
// exact length; a text without matches is not touched. Throws
// std::overflow_error when the result would not fit in 2,147,483,647 bytes
// (text unchanged). The byte utilities stand below the program's failure
// classes; their callers check sizes first and raise those.
std::int32_t ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

}  // namespace vemra
