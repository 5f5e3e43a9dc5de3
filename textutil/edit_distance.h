#pragma once

#include <cstddef>
#include <string_view>

namespace vemra {

// How many single-byte edits turn a into b: inserting, deleting or
// replacing a byte, or swapping two neighbours (a typing slip as common as
// the others), each counted once. Bytes are compared as they are.
std::size_t EditDistance(std::string_view a, std::string_view b);

}  // namespace vemra
