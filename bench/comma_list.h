// Lists given on a command line as one word, their items between commas.
#pragma once

#include <string>
#include <vector>

namespace vemra {

// The items of text between its commas, empty ones left out.
std::vector<std::string> SplitList(const std::string& text);

}  // namespace vemra
